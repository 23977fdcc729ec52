#include "ui/Form2.h"

#include "core/FolderSearch.h"
#include "core/VersionStrings.h"

#include <platform/FileSystem.h>
#include <platform/Interaction.h>
#include <platform/Paths.h>
#include <platform/Process.h>
#include <platform/RuntimeError.h>
#include <platform/Ui.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QTreeWidget>


namespace stewardex {

namespace {

enum Column { NameColumn, FolderColumn, SizeColumn, ModifiedColumn };

// Events (and the status text) are let through at the start of a folder
// when this long has passed since the last time: a Cancel click still acts
// within a few milliseconds, and a walk over tens of thousands of folders is
// not slowed tenfold by repainting the status bar at each one.
constexpr qint64 EventIntervalMs = 10;

// The attribute helper is started without waiting for it; before the second
// deletion it is given this long to finish, events running meanwhile.
constexpr int AttribWaitMs = 5000;

// Running, and not a zombie waiting for a parent that does not reap it.
bool processRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    return nameEnd >= 0 && nameEnd + 2 < line.size() && line.at(nameEnd + 2) != 'Z' && line.at(nameEnd + 2) != 'X';
}

void waitForProcess(std::optional<qint64> pid)
{
    if (!pid)
        return;
    const QDeadlineTimer deadline(AttribWaitMs);
    while (processRunning(*pid) && !deadline.hasExpired()) {
        platform::doEvents();
        QThread::msleep(5);
    }
}

} // namespace

Form2::Form2(const QStringList& drives, std::function<void()> doGlobalInit2, QWidget* owner)
    : QDialog(owner), doGlobalInit2_(std::move(doGlobalInit2))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Search for KL3D files..."));
    setModal(true);
    setFixedSize(760, 400);

    results_ = new QTreeWidget(this);
    results_->setObjectName(QStringLiteral("LstResults"));
    results_->setGeometry(8, 8, 744, 300);
    results_->setColumnCount(4);
    results_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("In Folder"), QStringLiteral("Size"),
                               QStringLiteral("Modified")});
    results_->setRootIsDecorated(false);
    results_->setSelectionMode(QAbstractItemView::SingleSelection);
    results_->setColumnWidth(NameColumn, 190);
    results_->setColumnWidth(FolderColumn, 280);
    results_->setColumnWidth(SizeColumn, 80);
    results_->viewport()->installEventFilter(this);

    drive1_ = new QComboBox(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    drive1_->setGeometry(8, 318, 240, 26);
    drive1_->addItems(drives);

    check1_ = new QCheckBox(QStringLiteral("Search whole computer"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(264, 318, 200, 26);
    check1_->setChecked(true);

    auto* command2 = new QPushButton(QStringLiteral("Start Search"), this);
    command2->setObjectName(QStringLiteral("Command2"));
    command2->setGeometry(560, 316, 92, 30);
    auto* command1 = new QPushButton(QStringLiteral("Cancel"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(660, 316, 92, 30);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setGeometry(0, 372, 760, 28);
    statusBar_->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(statusBar_);
    statusPanel_->setObjectName(QStringLiteral("Panel1"));
    statusBar_->addWidget(statusPanel_, 1);

    menu_ = new QMenu(QStringLiteral("Menu"), this);
    menu_->setObjectName(QStringLiteral("mnMenu"));
    QAction* registerAction = menu_->addAction(QStringLiteral("Register"));
    registerAction->setObjectName(QStringLiteral("mnRegister"));
    QAction* unregisterAction = menu_->addAction(QStringLiteral("UnRegister"));
    unregisterAction->setObjectName(QStringLiteral("mnUnRegister"));
    QAction* deleteAction = menu_->addAction(QStringLiteral("Delete"));
    deleteAction->setObjectName(QStringLiteral("mnDelete"));

    connect(command2, &QPushButton::clicked, this, &Form2::startSearch);
    connect(command1, &QPushButton::clicked, this, &Form2::cancel);
    connect(check1_, &QCheckBox::clicked, this, &Form2::wholeComputerChanged);
    connect(registerAction, &QAction::triggered, this, [this] { registerSelected(false); });
    connect(unregisterAction, &QAction::triggered, this, [this] { registerSelected(true); });
    connect(deleteAction, &QAction::triggered, this, &Form2::deleteSelected);

    wholeComputerChanged();
    setStatus(QString::fromLatin1(messages::NotSearching));
}

Form2::~Form2() = default;

QString Form2::statusText() const
{
    return statusPanel_->text();
}

void Form2::setStatus(const QString& text)
{
    statusPanel_->setText(text);
}

void Form2::wholeComputerChanged()
{
    const bool whole = check1_->isChecked();
    drive1_->setEnabled(!whole);
    // Menu-bar grey while the whole computer is searched, the window colour otherwise.
    const QColor background = whole ? palette().color(QPalette::Button) : palette().color(QPalette::Base);
    QPalette drivePalette = drive1_->palette();
    drivePalette.setColor(QPalette::Base, background);
    drivePalette.setColor(QPalette::Button, background);
    drive1_->setPalette(drivePalette);
}

void Form2::startSearch()
{
    if (searching_)
        return;   // pressed again while a search runs: it goes on
    results_->clear();
    doSearch_ = true;
    QStringList roots;
    if (check1_->isChecked()) {
        for (int i = 0; i < drive1_->count(); ++i)
            roots.append(drive1_->itemText(i));
        roots = searchRoots(roots);
    } else {
        roots.append(drive1_->currentText());
    }
    QElapsedTimer sinceEvents;
    QString lastFolder;
    FolderSearch search(
        {QString::fromLatin1(EngineFileName), QString::fromLatin1(UtilityFileName)},
        [&](const QString& folder) {
            if (!doSearch_)
                return false;
            searching_ = true;
            lastFolder = folder;
            if (!sinceEvents.isValid() || sinceEvents.elapsed() >= EventIntervalMs) {
                setStatus(folder);
                platform::doEvents();   // where a Cancel click is handled
                sinceEvents.start();
            }
            return doSearch_;
        },
        [this](const FoundFile& file) {
            addRow(file.nameIndex == 0 ? RowKind::Engine : RowKind::Utility, file.folder, file.fileName, file.size,
                   file.modified);
        });
    // The status keeps the last folder searched, or the Cancel's text.
    if (search.run(roots) && !lastFolder.isEmpty())
        setStatus(lastFolder);
    searching_ = false;
}

void Form2::addRow(RowKind kind, const QString& folder, const QString& fileName, qint64 size,
                   const QDateTime& modified)
{
    const VersionStrings version = ReadVersionStrings(folder + fileName);
    auto* row = new QTreeWidgetItem(results_);
    row->setText(NameColumn, rowText(kind, version.FileVersion));
    row->setText(FolderColumn, folderText(folder));
    row->setText(SizeColumn, QString::number(size));
    row->setText(ModifiedColumn, QLocale().toString(modified, QLocale::ShortFormat));
}

void Form2::cancel()
{
    if (searching_) {
        doSearch_ = false;
        setStatus(QString::fromLatin1(messages::NotSearching));
        return;
    }
    close();
}

void Form2::closeEvent(QCloseEvent* event)
{
    doSearch_ = false;   // a search still running inside Start Search ends
    QDialog::closeEvent(event);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == results_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            menu_->popup(mouse->globalPosition().toPoint());
    }
    return QDialog::eventFilter(watched, event);
}

QTreeWidgetItem* Form2::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = results_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void Form2::registerSelected(bool unregister)
{
    const QTreeWidgetItem* row = selectedRow();
    if (!row)
        return;
    if (rowKind(row->text(NameColumn)) == RowKind::Utility) {
        platform::msgBox(QString::fromLatin1(unregister ? messages::UtilityUnregisterRefusal
                                                        : messages::UtilityRegisterRefusal),
                         platform::vbInformation,
                         QString::fromLatin1(unregister ? messages::UtilityUnregisterTitle
                                                        : messages::UtilityRegisterTitle));
        return;
    }
    platform::startCommandLine(registrationCommand(row->text(FolderColumn), unregister));
    platform::msgBox(QString::fromLatin1(unregister ? messages::Unregistered : messages::Registered),
                     platform::vbInformation, QString::fromLatin1(messages::RegistrationTitle));
    if (doGlobalInit2_)
        doGlobalInit2_();
    close();
}

void Form2::deleteSelected()
{
    QTreeWidgetItem* row = selectedRow();
    if (!row)
        return;
    // The name is matched without regard to case, as the search found it.
    const QString file = platform::resolvePath(rowFile(row->text(FolderColumn), row->text(NameColumn)));
    platform::StepByStep steps;
    if (steps.step([&file] { platform::deleteFile(file); }) == platform::err::PathFileAccessError) {
        if (platform::msgBox(QString::fromLatin1(messages::WriteProtected), platform::vbOKCancel,
                             QString::fromLatin1(messages::WriteProtectedTitle))
            != platform::vbOK)
            return;
        waitForProcess(platform::startCommandLine(removeWriteProtectionCommand(file)));
        steps.step([&file] { platform::deleteFile(file); });
    }
    delete row;
}

} // namespace stewardex
