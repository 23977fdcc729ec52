#include "platform/RuntimeError.h"

#include "platform/Interaction.h"
#include "platform/TextFile.h"

#include <QCoreApplication>

#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

namespace platform {

QString standardErrorDescription(int number)
{
    switch (number) {
    case 3: return QStringLiteral("Return without GoSub");
    case err::InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case err::Overflow: return QStringLiteral("Overflow");
    case err::OutOfMemory: return QStringLiteral("Out of memory");
    case err::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case 10: return QStringLiteral("This array is fixed or temporarily locked");
    case err::DivisionByZero: return QStringLiteral("Division by zero");
    case err::TypeMismatch: return QStringLiteral("Type mismatch");
    case 28: return QStringLiteral("Out of stack space");
    case err::BadFileNameOrNumber: return QStringLiteral("Bad file name or number");
    case err::FileNotFound: return QStringLiteral("File not found");
    case 54: return QStringLiteral("Bad file mode");
    case err::FileAlreadyOpen: return QStringLiteral("File already open");
    case err::DeviceIoError: return QStringLiteral("Device I/O error");
    case err::FileAlreadyExists: return QStringLiteral("File already exists");
    case err::DiskFull: return QStringLiteral("Disk full");
    case err::InputPastEndOfFile: return QStringLiteral("Input past end of file");
    case err::BadFileName: return QStringLiteral("Bad file name");
    case 67: return QStringLiteral("Too many files");
    case 68: return QStringLiteral("Device unavailable");
    case err::PermissionDenied: return QStringLiteral("Permission denied");
    case 71: return QStringLiteral("Disk not ready");
    case err::PathFileAccessError: return QStringLiteral("Path/File access error");
    case err::PathNotFound: return QStringLiteral("Path not found");
    case err::ObjectNotSet: return QStringLiteral("Object variable or With block variable not set");
    case 94: return QStringLiteral("Invalid use of Null");
    case err::InvalidPropertyValue: return QStringLiteral("Invalid property value");
    case err::ObjectRequired: return QStringLiteral("Object required");
    case err::CantCreateObject: return QStringLiteral("ActiveX component can't create object");
    case err::NoAutomationInterface:
        return QStringLiteral("Class does not support Automation or does not support expected interface");
    case err::NoSuchMember: return QStringLiteral("Object doesn't support this property or method");
    case 481: return QStringLiteral("Invalid picture");
    case err::CancelSelected: return QStringLiteral("Cancel was selected.");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

RuntimeError::RuntimeError(int errorNumber)
    : RuntimeError(errorNumber, standardErrorDescription(errorNumber))
{
}

RuntimeError::RuntimeError(int errorNumber, QString errorDescription)
    : number(errorNumber), description(std::move(errorDescription)),
      whatText_(QStringLiteral("Run-time error %1: %2").arg(number).arg(description).toUtf8())
{
}

const char* RuntimeError::what() const noexcept
{
    return whatText_.constData();
}

namespace {

std::mutex translatorsMutex;

std::vector<ErrorTranslator>& translators()
{
    static std::vector<ErrorTranslator> list;
    return list;
}

ProgramEnd& programEnd()
{
    static ProgramEnd end;
    return end;
}

} // namespace

void addErrorTranslator(ErrorTranslator translator)
{
    const std::lock_guard lock(translatorsMutex);
    translators().push_back(std::move(translator));
}

RuntimeError toRuntimeError(const std::exception_ptr& error)
{
    {
        const std::lock_guard lock(translatorsMutex);
        for (const auto& translate : translators())
            if (auto translated = translate(error))
                return *translated;
    }
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(err::OutOfMemory);
    } catch (const std::exception& e) {
        return RuntimeError(err::InvalidProcedureCall, QString::fromUtf8(e.what()));
    } catch (...) {
        return RuntimeError(err::InvalidProcedureCall);
    }
}

void StepByStep::clear()
{
    number_ = 0;
    description_.clear();
}

void StepByStep::remember(const RuntimeError& error)
{
    number_ = error.number;
    description_ = error.description;
}

ErrorReporter messageBoxReporter(const QString& title)
{
    return [title](const RuntimeError& error) {
        platform::msgBox(error.description, vbCritical, title);
    };
}

ErrorReporter logLineReporter(const QString& logFile,
                              std::function<QString(const RuntimeError&)> format)
{
    return [logFile, format = std::move(format)](const RuntimeError& error) {
        appendLine(logFile, format(error));
    };
}

QString uncaughtErrorMessage(const RuntimeError& error)
{
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(error.number).arg(error.description);
}

void setProgramEnd(ProgramEnd end)
{
    programEnd() = std::move(end);
}

void endWithRuntimeError(const RuntimeError& error)
{
    platform::msgBox(uncaughtErrorMessage(error), vbCritical, {});
    if (programEnd())
        programEnd()(1);
    std::exit(1);
}

} // namespace platform
