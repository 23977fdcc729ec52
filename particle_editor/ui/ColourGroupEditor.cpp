#include "ui/ColourGroupEditor.h"

#include "ui/PanelControls.h"
#include "ui/UpDown.h"

#include <platform/TextRules.h>
#include <toolkit/Controls.h>

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <cmath>

namespace emberly {

namespace {

// The picker's picture: hues across, light to dark downwards.
QPixmap pickerPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const double hue = double(x) / size.width();
            const double v = 1.0 - double(y) / size.height();
            // Upper half: from white to the full hue; lower half: to black.
            const QColor full = QColor::fromHsvF(float(hue), 1.0f, 1.0f);
            QColor c;
            if (v > 0.5) {
                const double w = (v - 0.5) * 2;
                c = QColor::fromRgbF(float(full.redF() + (1 - full.redF()) * w),
                                     float(full.greenF() + (1 - full.greenF()) * w),
                                     float(full.blueF() + (1 - full.blueF()) * w));
            } else {
                const double k = v * 2;
                c = QColor::fromRgbF(float(full.redF() * k), float(full.greenF() * k), float(full.blueF() * k));
            }
            image.setPixel(x, y, c.rgb());
        }
    return QPixmap::fromImage(image);
}

} // namespace

ColourGroupEditor::ColourGroupEditor(QWidget* parent, Guard guard, Actions actions)
    : QGroupBox(QStringLiteral("Particle Color"), parent), guard_(std::move(guard)), actions_(std::move(actions))
{
    setObjectName(QStringLiteral("fraColor"));
    setGeometry(2, 0, 226, 118);
    buildPicker();
    buildBoxes();
    auto* random = new QPushButton(QStringLiteral("Random"), this);
    random->setObjectName(QStringLiteral("cmdRndColor"));
    random->setToolTip(QStringLiteral("Generates a Random Color"));
    random->setGeometry(164, 20, 56, 24);
    connect(random, &QPushButton::clicked, this,
            [this] { guard_(QStringLiteral("cmdRndColor_Click"), [this] { randomClicked(); }); });
    constantRandomness_ = new QCheckBox(QStringLiteral("Constant Randomness"), this);
    constantRandomness_->setObjectName(QStringLiteral("chkRnd"));
    constantRandomness_->setGeometry(8, 94, 210, 20);
}

void ColourGroupEditor::buildPicker()
{
    picker_ = new toolkit::PictureBox(this, QStringLiteral("Picker"));
    picker_->setGeometry(8, 20, 72, 72);
    picker_->setPicture(pickerPicture({72, 72}));
    picker_->setCursor(Qt::CrossCursor);
    connect(picker_, &toolkit::PictureBox::mousePressed, this, [this](Qt::MouseButton button, QPoint pos) {
        if (button == Qt::LeftButton)
            pickAt(pos);
    });
    connect(picker_, &toolkit::PictureBox::mouseMoved, this, [this](Qt::MouseButtons buttons, QPoint pos) {
        if (buttons & Qt::LeftButton)
            pickAt(pos);
    });
}

void ColourGroupEditor::buildBoxes()
{
    const char* const names[] = {"Red", "Green", "Blue"};
    for (int c = 0; c < 3; ++c) {
        const QString channel = QString::fromLatin1(names[c]);
        controls::label(this, QStringLiteral("lbl") + channel, channel.left(1), {88, 22 + c * 24, 12, 18});
        auto* box = new QLineEdit(QStringLiteral("255"), this);
        box->setObjectName(QStringLiteral("txt") + channel);
        box->setGeometry(102, 20 + c * 24, 40, 21);
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        box->installEventFilter(this);
        boxes_[std::size_t(c)] = box;
        auto* ud = new UpDown(this, QStringLiteral("ud") + channel, box, 0, 255);
        ud->setGeometry(143, 20 + c * 24, 16, 20);
        connect(box, &QLineEdit::textChanged, this,
                [this, c] { guard_(QStringLiteral("txtColor_Change"), [this, c] { boxChanged(c); }); });
    }
}

void ColourGroupEditor::showColour(const D3DCOLORVALUE& colour)
{
    boxes_[0]->setText(platform::singleText(colour.r * 255.0f));
    boxes_[1]->setText(platform::singleText(colour.g * 255.0f));
    boxes_[2]->setText(platform::singleText(colour.b * 255.0f));
}

bool ColourGroupEditor::constantRandomness() const
{
    return constantRandomness_->isChecked();
}

void ColourGroupEditor::setConstantRandomness(bool on)
{
    constantRandomness_->setChecked(on);
}

void ColourGroupEditor::boxChanged(int channel)
{
    QLineEdit* box = boxes_[std::size_t(channel)];
    // An emptied box counts as 0 and leaves the record until a digit comes back.
    if (box->text().isEmpty())
        return;
    const double value = platform::cint(platform::val(box->text()));
    // Out of range: the box is corrected, and the corrected text comes back here.
    if (value < 0) {
        box->setText(QStringLiteral("0"));
        return;
    }
    if (value > 255) {
        box->setText(QStringLiteral("255"));
        return;
    }
    actions_.channelEdited(channel, float(value / 255.0));
}

void ColourGroupEditor::boxClicked(int channel)
{
    for (int other = 0; other < 3; ++other)
        if (other != channel && boxes_[std::size_t(other)]->text().isEmpty())
            boxes_[std::size_t(other)]->setText(QStringLiteral("0"));
}

bool ColourGroupEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        for (int c = 0; c < 3; ++c)
            if (watched == boxes_[std::size_t(c)])
                boxClicked(c);
    return QGroupBox::eventFilter(watched, event);
}

void ColourGroupEditor::pickAt(QPoint pos)
{
    const QImage image = picker_->picture().toImage();
    if (image.isNull() || !image.rect().contains(pos))
        return;
    const QColor colour = image.pixelColor(pos);
    boxes_[0]->setText(QString::number(colour.red()));
    boxes_[1]->setText(QString::number(colour.green()));
    boxes_[2]->setText(QString::number(colour.blue()));
}

void ColourGroupEditor::randomClicked()
{
    std::array<int, 3> values{};
    for (std::size_t c = 0; c < 3; ++c) {
        values[c] = int(std::floor(random_.next() * 256.0f));
        boxes_[c]->setText(QString::number(values[c]));
    }
    actions_.randomChosen({float(values[0]) / 255.0f, float(values[1]) / 255.0f, float(values[2]) / 255.0f, 1.0f});
}

} // namespace emberly
