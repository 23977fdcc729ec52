#include "core/SearchRows.h"

namespace stewardex {

QString fileNameOf(RowKind kind)
{
    return QString::fromLatin1(kind == RowKind::Engine ? EngineFileName : UtilityFileName);
}

QString rowText(RowKind kind, const QString& fileVersion)
{
    return fileNameOf(kind) + QStringLiteral(" ( ") + fileVersion + QStringLiteral(" )");
}

RowKind rowKind(const QString& rowText)
{
    return rowText.startsWith(QLatin1String(EngineFileName)) ? RowKind::Engine : RowKind::Utility;
}

QString folderText(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString rowFile(const QString& folder, const QString& rowText)
{
    return folderText(folder) + fileNameOf(rowKind(rowText));
}

QString registrationCommand(const QString& folder, bool unregister)
{
    return QStringLiteral("regsvr32 ") + (unregister ? QStringLiteral("/u ") : QString()) + u'"'
        + folderText(folder) + QLatin1String(EngineFileName) + u'"';
}

QString removeWriteProtectionCommand(const QString& file)
{
    return QStringLiteral("attrib \"") + file + QStringLiteral("\" -r");
}

} // namespace stewardex
