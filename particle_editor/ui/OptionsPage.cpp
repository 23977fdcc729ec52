#include "ui/OptionsPage.h"

#include "core/EmberlyRegistry.h"
#include "ui/PanelControls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

namespace emberly {

namespace {
QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

OptionsPage::OptionsPage(QWidget* parent, Guard guard, Actions actions)
    : QFrame(parent), guard_(std::move(guard)), actions_(std::move(actions))
{
    setObjectName(QStringLiteral("Frame1_2"));
    showIntro_ = new QCheckBox(QStringLiteral("Show Intro"), this);
    showIntro_->setObjectName(QStringLiteral("chkIntro"));
    showIntro_->setGeometry(8, 6, 200, 20);
    connect(showIntro_, &QCheckBox::clicked, this, [](bool on) { writeSetting(kShowIntroValue, flagText(on)); });
    auto* viewRotate = new QCheckBox(QStringLiteral("View Auto-Rotate"), this);
    viewRotate->setObjectName(QStringLiteral("chkViewRotate"));
    viewRotate->setGeometry(8, 30, 200, 20);
    // The view's rotation toggles, whatever the box shows; the box is stored.
    connect(viewRotate, &QCheckBox::clicked, this, [this](bool on) {
        actions_.autoRotateToggled();
        writeSetting(kAutoRotateValue, flagText(on));
    });
    buildAlphaModes();
    buildSky();
}

void OptionsPage::buildAlphaModes()
{
    QGroupBox* alpha = controls::frame(this, QStringLiteral("SetAlphaBlendingMode"), QString(), {2, 58, 226, 106});
    controls::label(alpha, QStringLiteral("lblAlpha"), QStringLiteral("Set AlphaBlending Mode"), {8, 18, 200, 18});
    const char* const modes[] = {"KL_CHANGE_ALPHA", "KL_CHANGE_COLOR", "KL_CHANGE_NO"};
    for (int i = 1; i <= 3; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(modes[i - 1]), alpha);
        b->setObjectName(QStringLiteral("optAlpha_%1").arg(i));
        b->setGeometry(12, 18 + i * 21, 200, 20);
        b->setChecked(i == 1);
        connect(b, &QRadioButton::clicked, this,
                [this, i] { guard_(QStringLiteral("optAlpha_Click"), [this, i] { actions_.alphaModeChosen(i); }); });
    }
}

void OptionsPage::buildSky()
{
    auto* sky = new QWidget(this);
    sky->setObjectName(QStringLiteral("fraSky"));
    sky->setGeometry(2, 170, 226, 70);
    controls::label(sky, QStringLiteral("lblBackground"), QStringLiteral("Background"), {8, 2, 200, 18});
    const char* const skies[] = {"Mountains", "Grid"};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(skies[i]), sky);
        b->setObjectName(QStringLiteral("optSky_%1").arg(i));
        b->setGeometry(12, 22 + i * 21, 200, 20);
        b->setChecked(i == 0);
        connect(b, &QRadioButton::clicked, this,
                [this, i] { guard_(QStringLiteral("optSky_Click"), [this, i] { actions_.skyChosen(i == 1); }); });
    }
}

void OptionsPage::setShowIntro(bool on)
{
    showIntro_->setChecked(on);
}

} // namespace emberly
