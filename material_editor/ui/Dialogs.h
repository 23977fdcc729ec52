// The dialogs and message boxes of Glazery's windows, all through the
// platform's interaction service so tests can script them.
#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

namespace glazery::dialogs {

enum class Icon { None, Critical, Question, Exclamation, Information };

// File dialogs with VB filter strings ("JPG|*.jpg|BMP|*.bmp"); nothing on Cancel.
std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& filter);
std::optional<QString> saveFile(QWidget* parent, const QString& title, const QString& filter);
// Colour dialog; nothing on Cancel.
std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial);
// Message box with an OK button.
void message(const QString& text, Icon icon, const QString& title);

} // namespace glazery::dialogs
