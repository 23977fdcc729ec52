// Small builders for the controls of the main window's panel: each under its
// object name, placed in pixels within its parent.
#pragma once

#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QWidget;

namespace emberly::controls {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, QRect at);
// A captioned frame around a group of controls.
QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption, QRect at);

} // namespace emberly::controls
