// The search window: finds the engine and utility libraries on one drive or
// on all of them, lists them with their versions, and registers,
// unregisters or deletes the one chosen in the list.
#pragma once

#include "core/SearchRows.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace stewardex {

class Form2 : public QDialog {
    Q_OBJECT
public:
    // drives: the drive list's entries ("/" first); doGlobalInit2: the main
    // window's refresh after a registration change.
    Form2(const QStringList& drives, std::function<void()> doGlobalInit2, QWidget* owner = nullptr);
    ~Form2() override;

    void startSearch();
    void cancel();
    void registerSelected(bool unregister);
    void deleteSelected();

    bool searching() const { return searching_; }
    QString statusText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wholeComputerChanged();
    void addRow(RowKind kind, const QString& folder, const QString& fileName, qint64 size, const QDateTime& modified);
    QTreeWidgetItem* selectedRow() const;
    void setStatus(const QString& text);

    std::function<void()> doGlobalInit2_;
    bool doSearch_ = false;
    bool searching_ = false;

    QTreeWidget* results_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    QComboBox* drive1_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QMenu* menu_ = nullptr;
};

} // namespace stewardex
