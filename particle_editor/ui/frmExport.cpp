#include "ui/frmExport.h"

#include "ui/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace emberly {

frmExport::frmExport(frmMain& form) : QDialog(&form), form_(form)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Emberly - Export"));
    setModal(true);
    resize(760, 640);
    auto* layout = new QVBoxLayout(this);

    auto* languages = new QHBoxLayout;
    const char* const types[] = {"VB", "Delphi", "C++"};
    for (int i = 0; i < kCodeTypeCount; ++i) {
        codeTypes_[std::size_t(i)] = new QRadioButton(QString::fromLatin1(types[i]), this);
        codeTypes_[std::size_t(i)]->setObjectName(QStringLiteral("optCodeType_%1").arg(i));
        languages->addWidget(codeTypes_[std::size_t(i)]);
        connect(codeTypes_[std::size_t(i)], &QRadioButton::clicked, this, [this, i] { codeMake(i); });
    }
    codeTypes_[0]->setChecked(true);
    languages->addStretch();
    layout->addLayout(languages);

    auto* inputs = new QGridLayout;
    auto* systemsLabel = new QLabel(QStringLiteral("Your KLParticleSystems :"), this);
    systemsLabel->setObjectName(QStringLiteral("lblPartName"));
    auto* texturesLabel = new QLabel(QStringLiteral("Your Particle Texture :"), this);
    texturesLabel->setObjectName(QStringLiteral("lblTexture"));
    inputs->addWidget(systemsLabel, 0, 1);
    inputs->addWidget(texturesLabel, 0, 2);
    const ExportNames defaults;
    for (int i = 0; i < kEmitterCount; ++i) {
        const auto u = std::size_t(i);
        auto* row = new QLabel(QString::number(i + 1), this);
        row->setObjectName(QStringLiteral("lblRow_%1").arg(i));
        partNames_[u] = new QLineEdit(defaults.systems[u], this);
        partNames_[u]->setObjectName(QStringLiteral("txtPartName_%1").arg(i));
        textures_[u] = new QLineEdit(defaults.textures[u], this);
        textures_[u]->setObjectName(QStringLiteral("txtTexture_%1").arg(i));
        inputs->addWidget(row, i + 1, 0);
        inputs->addWidget(partNames_[u], i + 1, 1);
        inputs->addWidget(textures_[u], i + 1, 2);
        // A row shows only for an enabled emitter.
        const bool enabled = form_.emitterEnabled(i);
        for (QWidget* w : {static_cast<QWidget*>(row), static_cast<QWidget*>(partNames_[u]),
                           static_cast<QWidget*>(textures_[u])})
            w->setVisible(enabled);
    }
    auto* posLabel = new QLabel(QStringLiteral("Your Pos Vector :"), this);
    posLabel->setObjectName(QStringLiteral("lblPos"));
    inputs->addWidget(posLabel, 4, 1);
    auto* posRow = new QHBoxLayout;
    const char* const axes[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        auto* axis = new QLabel(QString::fromLatin1(axes[i]), this);
        axis->setObjectName(QStringLiteral("lblPos") + QString::fromLatin1(axes[i]));
        position_[std::size_t(i)] = new QLineEdit(QStringLiteral("0"), this);
        position_[std::size_t(i)]->setObjectName(QStringLiteral("txtPos") + QString::fromLatin1(axes[i]));
        posRow->addWidget(axis);
        posRow->addWidget(position_[std::size_t(i)]);
    }
    inputs->addLayout(posRow, 4, 2);
    layout->addLayout(inputs);

    const char* const outputNames[][2] = {
        {"txtSetup", "Setup / Initialization"}, {"txtEvent", "Event Code"}, {"txtRender", "Render Loop"}};
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    for (int i = 0; i < 3; ++i) {
        auto* head = new QHBoxLayout;
        auto* caption = new QLabel(QString::fromLatin1(outputNames[i][1]), this);
        caption->setObjectName(QStringLiteral("lblOutput_%1").arg(i));
        auto* copy = new QPushButton(QStringLiteral("Copy to Clipboard"), this);
        copy->setAutoDefault(false);
        copy->setObjectName(QStringLiteral("cmdCopyClipbrd_%1").arg(i));
        connect(copy, &QPushButton::clicked, this, [this, i] { copyToClipboard(i); });
        head->addWidget(caption);
        head->addStretch();
        head->addWidget(copy);
        layout->addLayout(head);
        outputs_[std::size_t(i)] = new QPlainTextEdit(this);
        outputs_[std::size_t(i)]->setObjectName(QString::fromLatin1(outputNames[i][0]));
        outputs_[std::size_t(i)]->setFont(fixed);
        outputs_[std::size_t(i)]->setLineWrapMode(QPlainTextEdit::NoWrap);
        layout->addWidget(outputs_[std::size_t(i)], i == 1 ? 3 : 1);
    }
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("OKButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close);
    layout->addLayout(bottom);

    for (QLineEdit* box : partNames_)
        connect(box, &QLineEdit::textChanged, this, [this] { codeMake(codetype_); });
    for (QLineEdit* box : textures_)
        connect(box, &QLineEdit::textChanged, this, [this] { codeMake(codetype_); });
    for (QLineEdit* box : position_)
        connect(box, &QLineEdit::textChanged, this, [this] { codeMake(codetype_); });
    codeMake(kCodeVB);
}

ExportNames frmExport::names() const
{
    ExportNames n;
    for (std::size_t i = 0; i < kEmitterCount; ++i) {
        n.systems[i] = partNames_[i]->text();
        n.textures[i] = textures_[i]->text();
    }
    n.posX = position_[0]->text();
    n.posY = position_[1]->text();
    n.posZ = position_[2]->text();
    return n;
}

void frmExport::codeMake(int codetype)
{
    codetype_ = codetype;
    std::array<bool, kEmitterCount> enabled{};
    for (int i = 0; i < kEmitterCount; ++i)
        enabled[std::size_t(i)] = form_.emitterEnabled(i);
    const ExportTexts texts = emberly::codeMake(
        codetype, names(), form_.records(), enabled,
        [this](int i) { return form_.factory(i).Particle()->GetParticleCount(); }, form_.alphaMode());
    const QString parts[] = {texts.setup, texts.event, texts.render};
    for (std::size_t i = 0; i < 3; ++i)
        outputs_[i]->setPlainText(QString(parts[i]).replace(u'\r', u'\n'));
}

QString frmExport::boxText(int index) const
{
    return outputs_.at(std::size_t(index))->toPlainText().replace(u'\n', lineEnd(codetype_));
}

void frmExport::copyToClipboard(int index)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(boxText(index));
}

} // namespace emberly
