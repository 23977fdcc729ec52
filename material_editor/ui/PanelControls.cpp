#include "ui/PanelControls.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace glazery::controls {
namespace {

constexpr int BoxHeight = 20;
constexpr int LabelHeight = 16;
constexpr int OptionHeight = 18;

} // namespace

QLabel* label(QWidget* parent, const QString& text, int x, int y, int width)
{
    auto* caption = new QLabel(text, parent);
    caption->move(x, y);
    if (width > 0)
        caption->resize(width, LabelHeight);
    else
        caption->adjustSize();
    return caption;
}

TextBox* textBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int width)
{
    auto* box = new TextBox(parent, name, text);
    box->setGeometry(x, y, width, BoxHeight);
    return box;
}

NumberBox* numberBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int width)
{
    auto* box = new NumberBox(parent, name, text);
    box->setGeometry(x, y, width, BoxHeight);
    return box;
}

QSlider* slider(QWidget* parent, const QString& name, Qt::Orientation orientation, int maximum,
                QRect geometry)
{
    auto* bar = new QSlider(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(0, maximum);
    bar->setGeometry(geometry);
    return bar;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, QRect geometry)
{
    auto* push = new QPushButton(caption, parent);
    push->setObjectName(name);
    push->setGeometry(geometry);
    push->setFocusPolicy(Qt::TabFocus);
    return push;
}

QRadioButton* option(QWidget* parent, const QString& name, const QString& caption, int x, int y, int width)
{
    auto* choice = new QRadioButton(caption, parent);
    choice->setObjectName(name);
    choice->setGeometry(x, y, width, OptionHeight);
    return choice;
}

Swatch* swatch(QWidget* parent, const QString& name, QRect geometry, const QColor& colour)
{
    auto* shown = new Swatch(parent, name, colour);
    shown->setGeometry(geometry);
    return shown;
}

} // namespace glazery::controls
