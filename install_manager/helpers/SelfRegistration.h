// What the regsvr32 helper does, apart from its program so it can be tested:
// read its command line, load the library, call its self-registration entry
// point, and word the outcome as the system tool does.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace stewardex::helpers {

inline constexpr const char* RegSvr32Title = "RegSvr32";

struct RegistrationRequest {
    bool unregister = false;   // /u
    bool silent = false;       // /s: no message box
    QString library;
};

// "[/u] [/s] <library>" in any order, switches in any letter case and with
// "-" as well as "/". nullopt without exactly one library.
std::optional<RegistrationRequest> parseRegistrationArguments(const QStringList& arguments);

QString registrationUsage();

// Exit statuses of the system tool.
enum class RegistrationStatus : int {
    Succeeded = 0,
    BadArguments = 1,
    LoadFailed = 3,
    EntryPointMissing = 4,
    CallFailed = 5,
};

struct RegistrationOutcome {
    RegistrationStatus status = RegistrationStatus::Succeeded;
    QString message;
    bool isError() const { return status != RegistrationStatus::Succeeded; }
};

// Loads the library (a relative or "\"-separated path is resolved first) and
// calls DllRegisterServer or DllUnregisterServer.
RegistrationOutcome runSelfRegistration(const RegistrationRequest& request);

} // namespace stewardex::helpers
