#pragma once
// The dialogs a tool shows: open/save file, colour, message box, input box.
// Tools call them through the process-wide current service, so tests can put
// a ScriptedInteraction in place of the real Qt dialogs.

#include <QColor>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

namespace platform {

// VB message box buttons and icons, combined with |.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

// VB message box answers.
enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// The answers a button set can give, in button order ({vbYes, vbNo} for vbYesNo).
std::vector<int> msgBoxAnswers(int style);

// VB filter "JPG|*.jpg|BMP|*.bmp;*.dib" as Qt name filters
// {"JPG (*.jpg)", "BMP (*.bmp *.dib)"}. A trailing "(...)" already in a
// description is replaced by the patterns, so it is not shown twice.
QStringList qtNameFilters(const QString& vbFilter);

struct FileDialogRequest {
    QString title;
    QString filter;          // VB form, "JPG|*.jpg|BMP|*.bmp"
    int filterIndex = 1;     // 1-based, as VB's FilterIndex
    QString initialFolder;
    QString fileName;        // proposed name (save) or initial selection
};

struct FileChoice {
    QString path;
    int filterIndex = 1;     // the filter the user left selected, 1-based
};

class InteractionService {
public:
    virtual ~InteractionService() = default;
    // nullopt when the user cancels.
    virtual std::optional<FileChoice> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileChoice> saveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial, const QString& title) = 0;
    // Returns one of MsgBoxResult; `style` combines MsgBoxStyle values.
    virtual int msgBox(const QString& prompt, int style, const QString& title) = 0;
    // nullopt when the user cancels (VB's InputBox then gives "").
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
};

// The current service; a QtInteraction until another is set.
InteractionService& interaction();
// Replaces the current service; nullptr restores the Qt one. Returns the previous.
std::shared_ptr<InteractionService> setInteraction(std::shared_ptr<InteractionService> service);

// VB-like shortcuts on the current service. The default title is the
// application's name, as VB uses the project title.
int msgBox(const QString& prompt, int style = vbOKOnly, const QString& title = {});
std::optional<QString> inputBox(const QString& prompt, const QString& title = {},
                                const QString& defaultText = {});

// The real dialogs, parented to the active window.
class QtInteraction final : public InteractionService {
public:
    std::optional<FileChoice> openFile(const FileDialogRequest& request) override;
    std::optional<FileChoice> saveFile(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial, const QString& title) override;
    int msgBox(const QString& prompt, int style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
};

// Thrown (by default) when a scripted service meets a dialog it was not told to expect.
struct UnexpectedInteraction : std::logic_error {
    using std::logic_error::logic_error;
};

// Answers dialogs from a queue of expected calls, for tests. A dialog of
// another kind than the next expected one, or one when the queue is empty,
// is a failure: it goes to the failure handler (by default: throw
// UnexpectedInteraction) and the dialog answers "cancel". Expectations left
// unanswered at destruction are reported to the failure handler too.
class ScriptedInteraction final : public InteractionService {
public:
    enum class Kind { OpenFile, SaveFile, Color, MessageBox, InputBox };

    // One dialog that was shown, with what it was shown with.
    struct Call {
        Kind kind;
        QString title;
        QString prompt;          // message/input box text
        int style = 0;           // message box style
        FileDialogRequest file;  // file dialogs
        QString defaultText;     // input box
        QColor initialColor;     // colour dialog
    };

    using FailureHandler = std::function<void(const QString& message)>;
    // Handler for every ScriptedInteraction without one of its own; test
    // mains set it to report a test failure.
    static void setDefaultFailureHandler(FailureHandler handler);

    ScriptedInteraction() = default;
    ScriptedInteraction(const ScriptedInteraction&) = delete;
    ScriptedInteraction& operator=(const ScriptedInteraction&) = delete;
    ~ScriptedInteraction() override;

    void setFailureHandler(FailureHandler handler) { failureHandler_ = std::move(handler); }

    // Queue the next answers. nullopt answers mean the user cancels.
    // `promptContains` (message and input boxes): the prompt must contain it.
    void expectOpenFile(std::optional<QString> path, int filterIndex = 1);
    void expectSaveFile(std::optional<QString> path, int filterIndex = 1);
    void expectColor(std::optional<QColor> color);
    void expectMsgBox(int answer, const QString& promptContains = {});
    void expectInputBox(std::optional<QString> answer, const QString& promptContains = {});

    const std::vector<Call>& calls() const { return calls_; }
    std::size_t pending() const { return expected_.size(); }
    const QStringList& failures() const { return failures_; }

    std::optional<FileChoice> openFile(const FileDialogRequest& request) override;
    std::optional<FileChoice> saveFile(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial, const QString& title) override;
    int msgBox(const QString& prompt, int style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;

private:
    using Answer = std::variant<std::optional<FileChoice>, std::optional<QColor>, int,
                                std::optional<QString>>;
    struct Expected {
        Kind kind;
        Answer answer;
        QString promptContains;
    };
    // The queued answer for `call`, or nullopt after reporting a failure.
    std::optional<Answer> take(const Call& call);
    void fail(const QString& message);

    std::deque<Expected> expected_;
    std::vector<Call> calls_;
    QStringList failures_;
    FailureHandler failureHandler_;
};

// Puts a service in place for a scope and restores the previous one after.
class ScopedInteraction {
public:
    explicit ScopedInteraction(std::shared_ptr<InteractionService> service)
        : previous_(setInteraction(std::move(service)))
    {
    }
    ~ScopedInteraction() { setInteraction(previous_); }
    ScopedInteraction(const ScopedInteraction&) = delete;
    ScopedInteraction& operator=(const ScopedInteraction&) = delete;

private:
    std::shared_ptr<InteractionService> previous_;
};

} // namespace platform
