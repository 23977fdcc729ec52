#pragma once
// Run-time errors with VB's numbers and descriptions, and the three ways the
// tools handle them:
//   1. step-by-step suppression (StepByStep): a failing step is skipped; the
//      error number stays readable so the caller can branch on it;
//   2. caught (runCaught): the action stops at the first error, which goes to
//      a reporter (message box or a log line);
//   3. uncaught (endWithRuntimeError / runUncaught): the system's
//      "Run-time error" message, then the program ends.

#include <QByteArray>
#include <QString>

#include <exception>
#include <functional>
#include <optional>
#include <utility>

namespace platform {

namespace err {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int BadFileNameOrNumber = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyOpen = 55;
inline constexpr int DeviceIoError = 57;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int BadFileName = 64;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectNotSet = 91;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int ObjectRequired = 424;
inline constexpr int CantCreateObject = 429;
inline constexpr int NoAutomationInterface = 430;
inline constexpr int NoSuchMember = 438;
inline constexpr int CancelSelected = 32755;   // common dialog Cancel
} // namespace err

// VB's description of a run-time error number ("Overflow" for 6);
// "Application-defined or object-defined error" for numbers it does not know.
QString standardErrorDescription(int number);

struct RuntimeError : std::exception {
    int number = 0;
    QString description;

    explicit RuntimeError(int errorNumber);
    RuntimeError(int errorNumber, QString errorDescription);
    const char* what() const noexcept override;

private:
    QByteArray whatText_;
};

// Turns whatever a step threw into a RuntimeError: RuntimeError as is,
// std::bad_alloc as 7, other std::exception as 5 with its what() text.
// Libraries with their own error type register a translator that returns a
// RuntimeError for it (or nothing to let the next translator look).
using ErrorTranslator = std::function<std::optional<RuntimeError>(const std::exception_ptr&)>;
void addErrorTranslator(ErrorTranslator translator);
RuntimeError toRuntimeError(const std::exception_ptr& error);

// Registers a translator for one error type:
//   addErrorTranslatorFor<KLError>([](const KLError& e) {
//       return RuntimeError(e.Number(), e.Description()); });
template <class Error, class Convert>
void addErrorTranslatorFor(Convert convert)
{
    addErrorTranslator([convert](const std::exception_ptr& error) -> std::optional<RuntimeError> {
        try {
            std::rethrow_exception(error);
        } catch (const Error& e) {
            return convert(e);
        } catch (...) {
            return std::nullopt;
        }
    });
}

// Style 1: run steps one after another, each failure swallowed. Like VB's
// Err object the number stays set until clear() (a later step that succeeds
// does not reset it); step() itself returns 0 or the number of its own error.
class StepByStep {
public:
    template <class Step>
    int step(Step&& action)
    {
        try {
            std::forward<Step>(action)();
            return 0;
        } catch (...) {
            remember(toRuntimeError(std::current_exception()));
            return number_;
        }
    }
    int lastError() const { return number_; }
    const QString& lastDescription() const { return description_; }
    void clear();

private:
    void remember(const RuntimeError& error);
    int number_ = 0;
    QString description_;
};

// Style 2: run the action; at the first error stop and hand it to the
// reporter. Returns true when the action finished without error.
using ErrorReporter = std::function<void(const RuntimeError&)>;
template <class Action>
bool runCaught(Action&& action, const ErrorReporter& reporter)
{
    try {
        std::forward<Action>(action)();
        return true;
    } catch (...) {
        const RuntimeError error = toRuntimeError(std::current_exception());
        if (reporter)
            reporter(error);
        return false;
    }
}

// Reporters for runCaught: a message box with the description (critical
// icon, the application's name as title), and one line appended to a log
// file, the line made from the error by `format`.
ErrorReporter messageBoxReporter(const QString& title = {});
ErrorReporter logLineReporter(const QString& logFile,
                              std::function<QString(const RuntimeError&)> format);

// Style 3: "Run-time error '<n>':\n\n<description>" in a message box, then
// the program ends with exit code 1. The ending is replaceable (tests).
QString uncaughtErrorMessage(const RuntimeError& error);
using ProgramEnd = std::function<void(int exitCode)>;
void setProgramEnd(ProgramEnd end);   // empty restores std::exit
[[noreturn]] void endWithRuntimeError(const RuntimeError& error);

template <class Action>
void runUncaught(Action&& action)
{
    try {
        std::forward<Action>(action)();
    } catch (...) {
        endWithRuntimeError(toRuntimeError(std::current_exception()));
    }
}

} // namespace platform
