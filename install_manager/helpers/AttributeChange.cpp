#include "helpers/AttributeChange.h"

#include <platform/FileSystem.h>
#include <platform/Paths.h>

#include <QFileInfo>

#include <optional>

namespace stewardex::helpers {

namespace {

bool isAttributeSwitch(const QString& argument)
{
    return argument.size() == 2 && (argument[0] == u'+' || argument[0] == u'-')
        && QStringLiteral("rash").contains(argument[1].toLower());
}

} // namespace

AttributeOutcome changeAttributes(const QStringList& arguments)
{
    std::optional<bool> readOnly;
    QString file;
    for (const QString& argument : arguments) {
        if (isAttributeSwitch(argument)) {
            if (argument[1].toLower() == u'r')
                readOnly = argument[0] == u'+';
        } else if (file.isEmpty() && !argument.isEmpty()) {
            file = argument;
        } else {
            return {1, QStringLiteral("Parameter format not correct - %1").arg(argument)};
        }
    }
    if (file.isEmpty())
        return {1, QStringLiteral("Required parameter missing")};
    const QString path = platform::resolvePath(file);
    if (!QFileInfo(path).isFile())
        return {1, QStringLiteral("File not found - %1").arg(path)};
    if (!readOnly)
        return {0, QString(QChar(platform::isReadOnly(path) ? u'R' : u' ')) + QStringLiteral("     ") + path};
    const bool changed = *readOnly ? platform::setReadOnly(path) : platform::clearReadOnly(path);
    if (!changed)
        return {1, QStringLiteral("Access denied - %1").arg(path)};
    return {};
}

} // namespace stewardex::helpers
