#include "korlith3d/KLInputEngine.h"

#include "core/Context.h"
#include "input/InputWatcher.h"

namespace {

QPoint inView(QPoint global)
{
    // Relative to the picture box the engine draws into, when there is one.
    try {
        auto context = kl::core::Context::current();
        if (QWidget* view = context->rendering().view())
            return view->mapFromGlobal(global);
    } catch (const KLError&) {
    }
    return global;
}

} // namespace

KLInputEngine::KLInputEngine() : watcher_(std::make_unique<kl::input::InputWatcher>()) {}

KLInputEngine::~KLInputEngine() = default;

bool KLInputEngine::KeyDown(int scanCode)
{
    return watcher_->pollKey(scanCode);
}

int KLInputEngine::GetMouseX() const
{
    return inView(watcher_->globalPosition()).x();
}

int KLInputEngine::GetMouseY() const
{
    return inView(watcher_->globalPosition()).y();
}

void KLInputEngine::GetMousePosition(int& x, int& y) const
{
    const QPoint p = inView(watcher_->globalPosition());
    x = p.x();
    y = p.y();
}

KLMouseState KLInputEngine::GetMouseState()
{
    KLMouseState state;
    const QPoint moved = watcher_->takeMovement();
    state.dx = moved.x();
    state.dy = moved.y();
    state.button1 = watcher_->button(1);
    state.button2 = watcher_->button(2);
    state.button3 = watcher_->button(3);
    state.wheel = watcher_->wheel();
    return state;
}

bool KLInputEngine::MouseButton(int button) const
{
    return watcher_->button(button);
}

int KLInputEngine::GetWheel() const
{
    return watcher_->wheel();
}
