#include "ui/Form2.h"
#include "ui/Form1.h"

#include "core/CodeGenerator.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace glazery {

Form2::Form2(Form1& main)
    : QDialog(&main)
    , main_(main)
{
    setObjectName("Form2");
    setWindowTitle("Material settings in KL-Code");
    setFixedSize(640, 460);

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName("Text1");
    text1_->setGeometry(8, 8, 624, 300);
    text1_->setReadOnly(true);
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    roVB_ = new QRadioButton("VB", this);
    roVB_->setObjectName("roVB");
    roVB_->setGeometry(8, 318, 80, 20);
    roVB_->setChecked(true);
    roDelphi_ = new QRadioButton("Delphi", this);
    roDelphi_->setObjectName("roDelphi");
    roDelphi_->setGeometry(8, 342, 80, 20);
    roCSharp_ = new QRadioButton("C#", this);
    roCSharp_->setObjectName("roCSharp");
    roCSharp_->setGeometry(8, 366, 80, 20);
    roCpp_ = new QRadioButton("C++", this);
    roCpp_->setObjectName("roCpp");
    roCpp_->setGeometry(8, 390, 80, 20);

    CodeNames& names = main_.codeNames();
    struct Row { const char* box; const char* caption; QString* name; };
    const Row rows[] = {{"Text2", "Your KLMaterialFactory:", &names.materialFactory},
                        {"Text3", "Your Material:", &names.material},
                        {"Text4", "Your KLLightEngine:", &names.lightEngine},
                        {"Text5", "Your D3DLIGHT8:", &names.lightRecord}};
    for (int r = 0; r < 4; ++r) {
        const int y = 318 + r * 26;
        auto* caption = new QLabel(tr(rows[r].caption), this);
        caption->setGeometry(110, y + 2, 150, 18);
        auto* box = new QLineEdit(*rows[r].name, this);
        box->setObjectName(rows[r].box);
        box->setGeometry(262, y, 200, 22);
        QString* name = rows[r].name;
        // Every change of a box is the new name at once, for the program's life.
        connect(box, &QLineEdit::textChanged, this, [name](const QString& text) { *name = text; });
        names_[static_cast<size_t>(r)] = box;
    }

    auto* remake = new QPushButton(tr("Re Make Code"), this);
    remake->setObjectName("Command2");
    remake->setGeometry(500, 318, 132, 28);
    connect(remake, &QPushButton::clicked, this, &Form2::createCode);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName("Command1");
    close->setGeometry(500, 420, 132, 28);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void Form2::createCode()
{
    CodeLanguage language;
    if (roVB_->isChecked())
        language = CodeLanguage::VB;
    else if (roDelphi_->isChecked())
        language = CodeLanguage::Delphi;
    else if (roCSharp_->isChecked())
        language = CodeLanguage::CSharp;
    else if (roCpp_->isChecked())
        language = CodeLanguage::Cpp;
    else
        return;
    const MaterialSettings settings = main_.currentSettings();
    code_ = CreateCode(settings.material, settings.light, main_.codeNames(), language);
    QString shown = code_;
    shown.replace("\r\n", "\n");
    text1_->setPlainText(shown);
}

} // namespace glazery
