#include "ui/ParticlesPage.h"

#include "ui/PanelControls.h"
#include "ui/SliderControls.h"

#include <QComboBox>
#include <QPushButton>

namespace emberly {

ParticlesPage::ParticlesPage(QWidget* parent, SliderControls& sliders, const Guard& guard,
                             ColourGroupEditor::Actions colourActions, std::function<void()> loadTexture)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame1_0"));
    colours_ = new ColourGroupEditor(this, guard, std::move(colourActions));
    controls::label(this, QStringLiteral("lblTexture"), QStringLiteral("ParticleTexture"), {4, 124, 120, 18});
    textures_ = new QComboBox(this);
    textures_->setObjectName(QStringLiteral("cmbTex"));
    textures_->addItems({QStringLiteral("Flake"), QStringLiteral("Flare"), QStringLiteral("Smoke"), QStringLiteral("Bubble")});
    textures_->setGeometry(4, 142, 186, 24);
    auto* loadButton = new QPushButton(QStringLiteral("..."), this);
    loadButton->setObjectName(QStringLiteral("cmdLoadTex"));
    loadButton->setGeometry(194, 142, 32, 24);
    connect(loadButton, &QPushButton::clicked, this,
            [guard, load = std::move(loadTexture)] { guard(QStringLiteral("loadTex"), load); });

    sliders.add(this, QStringLiteral("sldPartSize"), QStringLiteral("Particle Size"), 1, 32, 5, {4, 180}, 224);
    sliders.add(this, QStringLiteral("sldPartLife"), QStringLiteral("Particle Life"), 1, 100, 20, {4, 208}, 224);
    sliders.add(this, QStringLiteral("sldBounce"), QStringLiteral("Particle Bounce"), 0, 20, 3, {4, 236}, 224);
    sliders.add(this, QStringLiteral("sldPartSpeed"), QStringLiteral("Particle Speed"), 1, 10, 3, {4, 264}, 224);
}

QString ParticlesPage::currentTexture() const
{
    return textures_->currentText();
}

QString ParticlesPage::firstTexture() const
{
    return textures_->itemText(0);
}

void ParticlesPage::selectFirstTexture()
{
    textures_->setCurrentIndex(0);
}

void ParticlesPage::selectTexture(const QString& name)
{
    const int found = textures_->findText(name);
    if (found >= 0)
        textures_->setCurrentIndex(found);
}

bool ParticlesPage::onlyBuiltInTextures() const
{
    return textures_->count() == 4;
}

void ParticlesPage::selectCustomTexture()
{
    const QString custom = QStringLiteral("Custom");
    // One "Custom" entry at most, however often a texture is loaded.
    if (textures_->findText(custom) < 0)
        textures_->addItem(custom);
    textures_->setCurrentIndex(textures_->findText(custom));
}

} // namespace emberly
