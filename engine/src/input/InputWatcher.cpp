#include "input/InputWatcher.h"

#include "input/ScanCodes.h"

#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace kl::input {

InputWatcher::InputWatcher()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
    position_ = QCursor::pos();
}

InputWatcher::~InputWatcher()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

namespace {

bool validScanCode(int scanCode)
{
    return scanCode > 0 && scanCode < 256;
}

} // namespace

bool InputWatcher::keyHeld(int scanCode) const
{
    return validScanCode(scanCode) && keys_[static_cast<size_t>(scanCode)];
}

bool InputWatcher::pollKey(int scanCode)
{
    if (!validScanCode(scanCode))
        return false;
    const auto code = static_cast<size_t>(scanCode);
    const bool down = keys_[code] || pressedSincePoll_[code];
    pressedSincePoll_[code] = false;
    return down;
}

bool InputWatcher::button(int index) const
{
    return index >= 1 && index <= 3 && buttons_[static_cast<size_t>(index - 1)];
}

QPoint InputWatcher::takeMovement()
{
    const QPoint moved = movement_;
    movement_ = {};
    return moved;
}

void InputWatcher::keyEvent(int qtKey, bool down)
{
    const int code = scanCodeOfQtKey(qtKey);
    if (!validScanCode(code))
        return;
    keys_[static_cast<size_t>(code)] = down;
    if (down)
        pressedSincePoll_[static_cast<size_t>(code)] = true;
}

void InputWatcher::mouseMoved(QPoint global)
{
    // Positions, not event deltas: an event seen by several receivers moves once.
    if (havePosition_)
        movement_ += global - position_;
    position_ = global;
    havePosition_ = true;
}

void InputWatcher::buttonEvent(Qt::MouseButton button, bool down)
{
    switch (button) {
    case Qt::LeftButton: buttons_[0] = down; break;
    case Qt::RightButton: buttons_[1] = down; break;
    case Qt::MiddleButton: buttons_[2] = down; break;
    default: break;
    }
}

void InputWatcher::wheelTurned(int delta)
{
    wheel_ += delta;
}

// Presses not yet polled stay: they happened.
void InputWatcher::releaseAll()
{
    keys_.fill(false);
    buttons_.fill(false);
}

bool InputWatcher::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            keyEvent(key->key(), event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        mouseMoved(mouse->globalPosition().toPoint());
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            buttonEvent(mouse->button(), true);
        else if (event->type() == QEvent::MouseButtonRelease)
            buttonEvent(mouse->button(), false);
        break;
    }
    case QEvent::Wheel:
        // Every wheel event from the window system reaches a window first and is
        // then passed on (to widgets, or from the GL view to the picture box);
        // counting it at the window counts each notch once.
        if (watched->isWindowType())
            wheelTurned(static_cast<QWheelEvent*>(event)->angleDelta().y());
        break;
    case QEvent::ApplicationDeactivate:
        releaseAll();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kl::input
