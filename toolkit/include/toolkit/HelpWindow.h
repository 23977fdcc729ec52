// A help window: a program folder's text file (Readme.txt) in a read-only box
// with a fixed-pitch font and one close button. Each tool gives the window's
// caption and the names its tests find the window and the box by.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace toolkit {

struct HelpWindowNames {
    QString windowName;   // e.g. "Form4"
    QString caption;      // e.g. "Help for Glazery"
    QString textBoxName;  // e.g. "Text1"
    QString fontFamily = QStringLiteral("Courier");
};

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(QWidget* parent, const HelpWindowNames& names);

    // Clears the box and shows the file's lines, each followed by a line end;
    // a missing or unreadable file shows why instead.
    void loadText(const QString& path);
    // Loads "Readme.txt" of the program folder.
    void loadReadme(const QString& programFolder);
    QString text() const;

private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace toolkit
