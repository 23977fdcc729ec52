// The help window: shows a text file in a fixed-pitch font.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace glazery {

class Form4 : public QDialog {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent);

    // Clears the box and shows the file's lines; a missing or unreadable file
    // shows why instead.
    void loadText(const QString& path);
    QString text() const;

private:
    QPlainTextEdit* text1_ = nullptr;
};

} // namespace glazery
