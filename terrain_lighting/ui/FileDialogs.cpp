#include "ui/FileDialogs.h"

#include <platform/Interaction.h>

namespace landlume {
namespace {

platform::FileDialogRequest dialogRequest(const QString& title, const QString& filter, const QString& folder)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.initialFolder = folder;
    return request;
}

std::optional<QString> chosenPath(const std::optional<platform::FileChoice>& choice)
{
    if (!choice || choice->path.isEmpty())
        return std::nullopt;
    return choice->path;
}

} // namespace

std::optional<QString> chooseFileToOpen(const QString& title, const QString& filter, const QString& folder)
{
    return chosenPath(platform::interaction().openFile(dialogRequest(title, filter, folder)));
}

std::optional<QString> chooseFileToSave(const QString& title, const QString& filter, const QString& folder,
                                        const QString& extension)
{
    std::optional<QString> path = chosenPath(platform::interaction().saveFile(dialogRequest(title, filter, folder)));
    if (path && !path->endsWith(extension, Qt::CaseInsensitive))
        *path += extension;
    return path;
}

} // namespace landlume
