#include "platform/Interaction.h"

#include "platform/Paths.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include <mutex>

namespace platform {

std::vector<int> msgBoxAnswers(int style)
{
    switch (style & 7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

QStringList qtNameFilters(const QString& vbFilter)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList filters;
    const QStringList parts = vbFilter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i);
        description.remove(trailingPatterns);
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        const QString joined = patterns.join(u' ');
        filters.append(description.trimmed().isEmpty()
                           ? joined
                           : QStringLiteral("%1 (%2)").arg(description.trimmed(), joined));
    }
    return filters;
}

namespace {

std::mutex serviceMutex;

std::shared_ptr<InteractionService>& currentService()
{
    static std::shared_ptr<InteractionService> service;
    return service;
}

QString titleOrApplicationName(const QString& title)
{
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

} // namespace

InteractionService& interaction()
{
    const std::lock_guard lock(serviceMutex);
    auto& service = currentService();
    if (!service)
        service = std::make_shared<QtInteraction>();
    return *service;
}

std::shared_ptr<InteractionService> setInteraction(std::shared_ptr<InteractionService> service)
{
    const std::lock_guard lock(serviceMutex);
    auto previous = std::move(currentService());
    currentService() = std::move(service);
    return previous;
}

int msgBox(const QString& prompt, int style, const QString& title)
{
    return interaction().msgBox(prompt, style, titleOrApplicationName(title));
}

std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return interaction().inputBox(prompt, titleOrApplicationName(title), defaultText);
}

// ---- Qt dialogs ----

namespace {

std::optional<FileChoice> runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    const QString folder = request.initialFolder.isEmpty() ? QString() : resolvePath(request.initialFolder);
    QFileDialog dialog(QApplication::activeWindow(), request.title, folder);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(request.filterIndex, 1, static_cast<int>(filters.size()));
        dialog.selectNameFilter(filters.at(index - 1));
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(normalizeSeparators(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const int chosen = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    return FileChoice{dialog.selectedFiles().constFirst(), chosen < 0 ? 1 : chosen + 1};
}

QMessageBox::StandardButton qtButton(int answer)
{
    switch (answer) {
    case vbOK: return QMessageBox::Ok;
    case vbCancel: return QMessageBox::Cancel;
    case vbAbort: return QMessageBox::Abort;
    case vbRetry: return QMessageBox::Retry;
    case vbIgnore: return QMessageBox::Ignore;
    case vbYes: return QMessageBox::Yes;
    default: return QMessageBox::No;
    }
}

QMessageBox::Icon qtIcon(int style)
{
    switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

std::optional<FileChoice> QtInteraction::openFile(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<FileChoice> QtInteraction::saveFile(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<QColor> QtInteraction::chooseColor(const QColor& initial, const QString& title)
{
    const QColor color = QColorDialog::getColor(initial, QApplication::activeWindow(), title);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

int QtInteraction::msgBox(const QString& prompt, int style, const QString& title)
{
    QMessageBox box(qtIcon(style), title, prompt, QMessageBox::NoButton, QApplication::activeWindow());
    const std::vector<int> answers = msgBoxAnswers(style);
    for (int answer : answers)
        box.addButton(qtButton(answer));
    const std::size_t defaultIndex = (style & vbDefaultButton3) ? 2 : (style & vbDefaultButton2) ? 1 : 0;
    if (defaultIndex < answers.size())
        box.setDefaultButton(qtButton(answers[defaultIndex]));
    // Closing the box (Escape, window close) answers Cancel where there is
    // one, otherwise the only button, as VB does.
    const auto hasCancel = std::find(answers.begin(), answers.end(), vbCancel) != answers.end();
    if (hasCancel)
        box.setEscapeButton(qtButton(vbCancel));
    else if (answers.size() == 1)
        box.setEscapeButton(qtButton(answers.front()));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (int answer : answers)
        if (clicked && clicked == box.button(qtButton(answer)))
            return answer;
    return hasCancel ? vbCancel : answers.front();
}

std::optional<QString> QtInteraction::inputBox(const QString& prompt, const QString& title,
                                               const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

// ---- Scripted answers for tests ----

namespace {

ScriptedInteraction::FailureHandler& defaultFailureHandler()
{
    static ScriptedInteraction::FailureHandler handler;
    return handler;
}

QString kindName(ScriptedInteraction::Kind kind)
{
    switch (kind) {
    case ScriptedInteraction::Kind::OpenFile: return QStringLiteral("open file dialog");
    case ScriptedInteraction::Kind::SaveFile: return QStringLiteral("save file dialog");
    case ScriptedInteraction::Kind::Color: return QStringLiteral("colour dialog");
    case ScriptedInteraction::Kind::MessageBox: return QStringLiteral("message box");
    default: return QStringLiteral("input box");
    }
}

} // namespace

void ScriptedInteraction::setDefaultFailureHandler(FailureHandler handler)
{
    defaultFailureHandler() = std::move(handler);
}

ScriptedInteraction::~ScriptedInteraction()
{
    if (expected_.empty())
        return;
    QStringList left;
    for (const Expected& e : expected_)
        left.append(kindName(e.kind));
    try {
        fail(QStringLiteral("expected dialogs never shown: %1").arg(left.join(QStringLiteral(", "))));
    } catch (...) {
        // A destructor must not throw; the failure is still in failures().
    }
}

void ScriptedInteraction::fail(const QString& message)
{
    failures_.append(message);
    const FailureHandler& handler = failureHandler_ ? failureHandler_ : defaultFailureHandler();
    if (handler)
        handler(message);
    else
        throw UnexpectedInteraction(message.toStdString());
}

std::optional<ScriptedInteraction::Answer> ScriptedInteraction::take(const Call& call)
{
    calls_.push_back(call);
    const QString shown = kindName(call.kind)
                          + (call.prompt.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(call.prompt))
                          + (call.title.isEmpty() ? QString() : QStringLiteral(" titled \"%1\"").arg(call.title));
    if (expected_.empty()) {
        fail(QStringLiteral("unexpected %1").arg(shown));
        return std::nullopt;
    }
    Expected next = expected_.front();
    if (next.kind != call.kind) {
        fail(QStringLiteral("unexpected %1 (expected a %2)").arg(shown, kindName(next.kind)));
        return std::nullopt;
    }
    expected_.pop_front();
    if (!next.promptContains.isEmpty() && !call.prompt.contains(next.promptContains)) {
        fail(QStringLiteral("%1 does not contain \"%2\"").arg(shown, next.promptContains));
        return std::nullopt;
    }
    return next.answer;
}

void ScriptedInteraction::expectOpenFile(std::optional<QString> path, int filterIndex)
{
    std::optional<FileChoice> choice;
    if (path)
        choice = FileChoice{*path, filterIndex};
    expected_.push_back({Kind::OpenFile, choice, {}});
}

void ScriptedInteraction::expectSaveFile(std::optional<QString> path, int filterIndex)
{
    std::optional<FileChoice> choice;
    if (path)
        choice = FileChoice{*path, filterIndex};
    expected_.push_back({Kind::SaveFile, choice, {}});
}

void ScriptedInteraction::expectColor(std::optional<QColor> color)
{
    expected_.push_back({Kind::Color, color, {}});
}

void ScriptedInteraction::expectMsgBox(int answer, const QString& promptContains)
{
    expected_.push_back({Kind::MessageBox, answer, promptContains});
}

void ScriptedInteraction::expectInputBox(std::optional<QString> answer, const QString& promptContains)
{
    expected_.push_back({Kind::InputBox, answer, promptContains});
}

std::optional<FileChoice> ScriptedInteraction::openFile(const FileDialogRequest& request)
{
    const auto answer = take({Kind::OpenFile, request.title, {}, 0, request, {}, {}});
    return answer ? std::get<std::optional<FileChoice>>(*answer) : std::nullopt;
}

std::optional<FileChoice> ScriptedInteraction::saveFile(const FileDialogRequest& request)
{
    const auto answer = take({Kind::SaveFile, request.title, {}, 0, request, {}, {}});
    return answer ? std::get<std::optional<FileChoice>>(*answer) : std::nullopt;
}

std::optional<QColor> ScriptedInteraction::chooseColor(const QColor& initial, const QString& title)
{
    const auto answer = take({Kind::Color, title, {}, 0, {}, {}, initial});
    return answer ? std::get<std::optional<QColor>>(*answer) : std::nullopt;
}

int ScriptedInteraction::msgBox(const QString& prompt, int style, const QString& title)
{
    const auto answer = take({Kind::MessageBox, title, prompt, style, {}, {}, {}});
    if (!answer) {
        const auto answers = msgBoxAnswers(style);
        return std::find(answers.begin(), answers.end(), vbCancel) != answers.end() ? vbCancel
                                                                                      : answers.back();
    }
    const int given = std::get<int>(*answer);
    const auto answers = msgBoxAnswers(style);
    if (std::find(answers.begin(), answers.end(), given) == answers.end()) {
        fail(QStringLiteral("message box \"%1\" cannot answer %2").arg(prompt).arg(given));
        return answers.back();
    }
    return given;
}

std::optional<QString> ScriptedInteraction::inputBox(const QString& prompt, const QString& title,
                                                     const QString& defaultText)
{
    const auto answer = take({Kind::InputBox, title, prompt, 0, {}, defaultText, {}});
    return answer ? std::get<std::optional<QString>>(*answer) : std::nullopt;
}

} // namespace platform
