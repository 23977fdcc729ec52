#include "ui/PanelControls.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>

namespace landlume {

ShapeButton::ShapeButton(QWidget* parent, const QString& role, const QString& caption, const QString& toolTip,
                         bool pressedLook)
    : QFrame(parent), label_(new QLabel(caption, this)), pressedLook_(pressedLook)
{
    setObjectName(QStringLiteral("Shp") + role);
    label_->setObjectName(QStringLiteral("Lbl") + role);
    label_->setToolTip(toolTip);
    label_->setAlignment(Qt::AlignCenter);
    label_->installEventFilter(this);
    label_->setCursor(Qt::PointingHandCursor);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(label_);
    setFill(kReleasedGrey);
}

void ShapeButton::setFill(int grey)
{
    grey_ = grey;
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(grey, grey, grey));
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
    label_->setPalette(p);
}

bool ShapeButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != label_)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            pressed_ = true;
            if (pressedLook_)
                setFill(kPressedGrey);
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && pressed_) {
            pressed_ = false;
            if (pressedLook_)
                setFill(kReleasedGrey);
            if (label_->rect().contains(mouse->position().toPoint()))
                emit clicked();
        }
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

ShapeButton* applyButton(QWidget* parent, const QString& role)
{
    return new ShapeButton(parent, role, QStringLiteral("Apply"), QStringLiteral("Apply changes"));
}

bool keyFilterPasses(QChar typed)
{
    return typed == QLatin1Char('-') || typed == QLatin1Char('.') || typed == QChar(8) ||
           (typed >= QLatin1Char('0') && typed <= QLatin1Char('9'));
}

PanelBox::PanelBox(QWidget* parent, const QString& array, int index, const QString& text, bool filtered)
    : QLineEdit(text, parent), filtered_(filtered)
{
    setObjectName(QStringLiteral("%1_%2").arg(array).arg(index));
}

void PanelBox::keyPressEvent(QKeyEvent* event)
{
    // Only typed characters are filtered; editing keys and shortcuts (paste
    // among them) pass as they are.
    const QString typed = event->text();
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (filtered_ && !shortcut && typed.size() == 1 && (typed[0].isPrint() || typed[0] == QChar(8)) &&
        !keyFilterPasses(typed[0])) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

BoxArray boxRows(QWidget* parent, QGridLayout* grid, int firstRow, const QString& array,
                 const std::array<QString, 3>& captions, const std::array<QString, 3>& texts, bool filtered,
                 int& descriptionIndex)
{
    BoxArray boxes{};
    for (int i = 0; i < 3; ++i) {
        auto* description = new QLabel(captions[std::size_t(i)], parent);
        description->setObjectName(QStringLiteral("LblDescription_%1").arg(descriptionIndex++));
        boxes[std::size_t(i)] = new PanelBox(parent, array, i, texts[std::size_t(i)], filtered);
        grid->addWidget(description, firstRow + i, 0);
        grid->addWidget(boxes[std::size_t(i)], firstRow + i, 1);
    }
    return boxes;
}

} // namespace landlume
