#include "toolkit/Dialogs.h"

#include <platform/Interaction.h>

namespace toolkit::dialogs {
namespace {

std::optional<QString> pathOf(const std::optional<platform::FileChoice>& choice)
{
    if (!choice || choice->path.isEmpty())
        return std::nullopt;
    return choice->path;
}

int styleOf(Icon icon)
{
    switch (icon) {
    case Icon::Critical: return platform::vbCritical;
    case Icon::Question: return platform::vbQuestion;
    case Icon::Exclamation: return platform::vbExclamation;
    case Icon::Information: return platform::vbInformation;
    case Icon::None: break;
    }
    return 0;
}

} // namespace

std::optional<QString> openFile(const QString& title, const QString& filter)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    return pathOf(platform::interaction().openFile(request));
}

std::optional<QString> saveFile(const QString& title, const QString& filter)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    return pathOf(platform::interaction().saveFile(request));
}

std::optional<QColor> chooseColour(const QColor& initial)
{
    return platform::interaction().chooseColor(initial, {});
}

void message(const QString& text, Icon icon, const QString& title)
{
    platform::interaction().msgBox(text, platform::vbOKOnly | styleOf(icon), title);
}

} // namespace toolkit::dialogs
