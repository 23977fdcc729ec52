// The open and save dialogs of the frame window's actions, through the
// platform's interaction service.
#pragma once

#include <QString>

#include <optional>

namespace landlume {

// The chosen file, or nothing when the dialog was cancelled or left empty.
std::optional<QString> chooseFileToOpen(const QString& title, const QString& filter, const QString& folder);
// As chooseFileToOpen; `extension` (".ldm") is added unless the name already
// ends with it in any case.
std::optional<QString> chooseFileToSave(const QString& title, const QString& filter, const QString& folder,
                                        const QString& extension);

} // namespace landlume
