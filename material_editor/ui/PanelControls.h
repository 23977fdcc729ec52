// Small builders for the controls of the main window's panels: each control
// under its object name, placed in pixels within its parent.
#pragma once

#include "ui/Toolkit.h"

#include <QRect>
#include <QString>

class QColor;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;

namespace glazery::controls {

// A caption; with `width` 0 it takes the width of its text.
QLabel* label(QWidget* parent, const QString& text, int x, int y, int width = 0);
TextBox* textBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int width);
NumberBox* numberBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int width);
// A slider from 0 to `maximum`.
QSlider* slider(QWidget* parent, const QString& name, Qt::Orientation orientation, int maximum,
                QRect geometry);
// A push button that takes the focus by Tab only.
QPushButton* button(QWidget* parent, const QString& name, const QString& caption, QRect geometry);
QRadioButton* option(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                     int width);
Swatch* swatch(QWidget* parent, const QString& name, QRect geometry, const QColor& colour);

} // namespace glazery::controls
