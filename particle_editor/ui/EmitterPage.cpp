#include "ui/EmitterPage.h"

#include "ui/PanelControls.h"
#include "ui/SliderControls.h"
#include "ui/StyleIcons.h"

#include <platform/TextRules.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

namespace emberly {

EmitterPage::EmitterPage(QWidget* parent, SliderControls& sliders, Guard guard)
    : QFrame(parent), guard_(std::move(guard))
{
    setObjectName(QStringLiteral("Frame1_1"));
    buildMotion(sliders);
    buildStyles();
    buildVelocity(sliders);
    sliders.add(this, QStringLiteral("sldPartPower"), QStringLiteral("Emittor Power"), 1, 50, 10, {4, 266}, 224)
        ->setToolTip(QStringLiteral("Sets the velocity of the particles."));
    sliders.add(this, QStringLiteral("sldEmitSpeed"), QStringLiteral("Emittor Speed"), 1, 50, 5, {4, 288}, 224);
    gravity_ =
        sliders.add(this, QStringLiteral("sldGravity"), QStringLiteral("Emittor Gravity"), -10, 10, 2, {4, 310}, 224);
}

void EmitterPage::buildMotion(SliderControls& sliders)
{
    QGroupBox* motion =
        controls::frame(this, QStringLiteral("fraMotion"), QStringLiteral("Emittor Motion"), {2, 0, 226, 120});
    controls::label(motion, QStringLiteral("lblMotion"), QStringLiteral("Motion:"), {8, 22, 48, 20});
    motion_ = new QComboBox(motion);
    motion_->setObjectName(QStringLiteral("cmbMotion"));
    const char* const motions[] = {"Stationary", "Cycle 360", "Reverse 360", "Random Circle", "Random Cube",
                                   "Random Sphere", "Random Line"};
    for (int i = 0; i < 7; ++i)
        motion_->addItem(QString::fromLatin1(motions[i]), i);
    motion_->setGeometry(58, 20, 160, 24);
    const char* const axes[][3] = {{"sldMotionX", "X", "X Distance"},
                                   {"sldMotionY", "Y", "Y Distance"},
                                   {"sldMotionZ", "Z", "Z Distance"},
                                   {"sldMotionSpeed", "S", "Sets the speed of the Motion"}};
    for (int i = 0; i < 4; ++i) {
        controls::label(motion, QStringLiteral("lblAxis_%1").arg(i), QString::fromLatin1(axes[i][1]),
                        {10, 46 + i * 18, 14, 18});
        QSlider* s = sliders.add(motion, QString::fromLatin1(axes[i][0]), {}, 0, i < 3 ? 30 : 100, i < 3 ? 5 : 50,
                                 {28, 46 + i * 18}, 190);
        s->setToolTip(QString::fromLatin1(axes[i][2]));
    }
}

void EmitterPage::buildStyles()
{
    QGroupBox* style =
        controls::frame(this, QStringLiteral("fraStyle"), QStringLiteral("Emittor Style"), {2, 122, 226, 60});
    styles_ = new QButtonGroup(this);
    const char* const tips[] = {"Beam", "Spray", "Burst", "Implode"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(style);
        b->setObjectName(QStringLiteral("OptStyle_%1").arg(i));
        b->setToolTip(QString::fromLatin1(tips[i]));
        b->setCheckable(true);
        b->setIcon(styleIcon(i));
        b->setIconSize({36, 28});
        b->setGeometry(10 + i * 53, 20, 46, 36);
        styles_->addButton(b, i);
    }
    styles_->button(1)->setChecked(true);
}

void EmitterPage::buildVelocity(SliderControls& sliders)
{
    QGroupBox* velocity =
        controls::frame(this, QStringLiteral("fraVelocity"), QStringLiteral("Emittor Velocity"), {2, 184, 226, 78});
    const char* const rot[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QLineEdit(QStringLiteral("0"), velocity);
        box->setObjectName(QStringLiteral("txtRot") + QString::fromLatin1(rot[i]));
        box->setGeometry(8, 18 + i * 19, 48, 18);
        velocityBoxes_[std::size_t(i)] = box;
        connect(box, &QLineEdit::textChanged, this,
                [this] { guard_(QStringLiteral("txtRot_Change"), [this] { readVelocity(); }); });
        sliders.add(velocity, QStringLiteral("sldRot") + QString::fromLatin1(rot[i]), {}, -50, 50, 0,
                    {62, 18 + i * 19}, 156);
    }
}

int EmitterPage::motion() const
{
    return motion_->currentData().toInt();
}

void EmitterPage::setMotion(int motion)
{
    if (motion >= 0 && motion < motion_->count())
        motion_->setCurrentIndex(motion);
}

std::optional<int> EmitterPage::style() const
{
    const int checked = styles_->checkedId();
    if (checked < 0)
        return std::nullopt;
    return checked;
}

void EmitterPage::setStyle(int style)
{
    if (style >= 0 && style < 4)
        styles_->button(style)->setChecked(true);
}

int EmitterPage::gravity() const
{
    return gravity_->value();
}

void EmitterPage::readVelocity()
{
    velocity_ = {float(platform::val(velocityBoxes_[0]->text())), float(platform::val(velocityBoxes_[1]->text())),
                 float(platform::val(velocityBoxes_[2]->text()))};
}

void EmitterPage::showVelocity(const D3DVECTOR& velocity)
{
    velocityBoxes_[0]->setText(platform::singleText(velocity.x));
    velocityBoxes_[1]->setText(platform::singleText(velocity.y));
    velocityBoxes_[2]->setText(platform::singleText(velocity.z));
}

void EmitterPage::setVelocityText(int axis, const QString& text)
{
    velocityBoxes_[std::size_t(axis)]->setText(text);
}

} // namespace emberly
