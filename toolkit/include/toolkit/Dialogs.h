// The dialogs and message boxes of the tools' windows, all through the
// platform's interaction service so tests can script them.
#pragma once

#include <QColor>
#include <QString>

#include <optional>

namespace toolkit::dialogs {

enum class Icon { None, Critical, Question, Exclamation, Information };

// File dialogs with VB filter strings ("JPG|*.jpg|BMP|*.bmp"); nothing on Cancel.
std::optional<QString> openFile(const QString& title, const QString& filter);
std::optional<QString> saveFile(const QString& title, const QString& filter);
// Colour dialog; nothing on Cancel.
std::optional<QColor> chooseColour(const QColor& initial);
// Message box with an OK button.
void message(const QString& text, Icon icon, const QString& title);

} // namespace toolkit::dialogs
