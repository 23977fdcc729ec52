// The code window: the material and the test light as engine set-up code in
// VB, Delphi, C# or C++, with the four variable names the code uses.
#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace glazery {

class Form1;

class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(Form1& main);

    // CreateCode: writes the code for the selected language into Text1.
    void createCode();
    // The generated text exactly (CR LF line ends, LF for C++).
    const QString& code() const { return code_; }

private:
    Form1& main_;
    QPlainTextEdit* text1_ = nullptr;
    QRadioButton* roVB_ = nullptr;
    QRadioButton* roDelphi_ = nullptr;
    QRadioButton* roCSharp_ = nullptr;
    QRadioButton* roCpp_ = nullptr;
    std::array<QLineEdit*, 4> names_{}; // Text2..Text5
    QString code_;
};

} // namespace glazery
