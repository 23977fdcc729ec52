#include "helpers/SelfRegistration.h"

#include <platform/Paths.h>

#include <QFileInfo>
#include <QLibrary>

#include <cstdint>

namespace stewardex::helpers {

namespace {

using EntryPoint = std::int32_t (*)();

bool isSwitch(const QString& argument, QChar letter)
{
    return argument.size() == 2 && (argument[0] == u'/' || argument[0] == u'-')
        && argument[1].toLower() == letter;
}

QString hexResult(std::int32_t result)
{
    return QStringLiteral("0x%1").arg(static_cast<std::uint32_t>(result), 8, 16, QChar(u'0'));
}

} // namespace

std::optional<RegistrationRequest> parseRegistrationArguments(const QStringList& arguments)
{
    RegistrationRequest request;
    bool haveLibrary = false;
    for (const QString& argument : arguments) {
        if (isSwitch(argument, u'u')) {
            request.unregister = true;
        } else if (isSwitch(argument, u's')) {
            request.silent = true;
        } else if (!argument.isEmpty() && !haveLibrary) {
            request.library = argument;
            haveLibrary = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveLibrary)
        return std::nullopt;
    return request;
}

QString registrationUsage()
{
    return QStringLiteral("Usage: regsvr32 [/u] [/s] dllname\n"
                          "/u - Unregister server\n"
                          "/s - Silent; display no message boxes");
}

RegistrationOutcome runSelfRegistration(const RegistrationRequest& request)
{
    const QString entryName = request.unregister ? QStringLiteral("DllUnregisterServer")
                                                 : QStringLiteral("DllRegisterServer");
    const QString path = QFileInfo(platform::resolvePath(request.library)).absoluteFilePath();
    if (!QFileInfo(path).isFile())
        return {RegistrationStatus::LoadFailed,
                QStringLiteral("LoadLibrary(\"%1\") failed - The specified module could not be found.").arg(path)};
    QLibrary library(path);
    if (!library.load())
        return {RegistrationStatus::LoadFailed,
                QStringLiteral("LoadLibrary(\"%1\") failed - %2.").arg(path, library.errorString())};
    const auto entry = reinterpret_cast<EntryPoint>(library.resolve(entryName.toLatin1().constData()));
    if (!entry)
        return {RegistrationStatus::EntryPointMissing,
                QStringLiteral("%1 was loaded, but the %2 entry point was not found.\n\n"
                               "This file can not be %3.")
                    .arg(path, entryName,
                         request.unregister ? QStringLiteral("unregistered") : QStringLiteral("registered"))};
    const std::int32_t result = entry();
    if (result < 0)
        return {RegistrationStatus::CallFailed,
                QStringLiteral("%1 in %2 failed.\nReturn code was: %3").arg(entryName, path, hexResult(result))};
    return {RegistrationStatus::Succeeded, QStringLiteral("%1 in %2 succeeded.").arg(entryName, path)};
}

} // namespace stewardex::helpers
