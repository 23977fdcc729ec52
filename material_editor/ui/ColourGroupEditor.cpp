#include "ui/ColourGroupEditor.h"
#include "ui/PanelControls.h"

#include "core/EditingRules.h"

#include <QSlider>

#include <array>

namespace glazery {
namespace {

QString boxText(const std::vector<NumberBox*>& boxes, size_t component)
{
    return component < boxes.size() ? boxes[component]->text() : QString();
}

} // namespace

ColourGroupEditor::ColourGroupEditor(QWidget* panel)
    : QObject(panel)
{
}

ColourGroupEditor* ColourGroupEditor::materialGroup(QWidget* panel, const QString& prefix,
                                                    const QString& swatchName, DragTracker& tracker,
                                                    bool alphaDrags)
{
    static const std::array<const char*, 4> components = {"r", "g", "b", "a"};
    static const std::array<const char*, 4> captions = {"Red", "Green", "Blue", "Alpha"};
    auto* editor = new ColourGroupEditor(panel);
    for (size_t k = 0; k < components.size(); ++k) {
        const int x = 8 + static_cast<int>(k) * 44;
        controls::label(panel, tr(captions[k]), x, 22, 42);
        editor->boxes_.push_back(controls::numberBox(panel, prefix + components[k], "0", x, 38, 40));
        editor->sliders_.push_back(controls::slider(panel, "V" + prefix + components[k], Qt::Vertical, 255,
                                                    QRect(x + 10, 62, 20, 80)));
    }
    editor->swatch_ = controls::swatch(panel, swatchName, QRect(188, 38, 40, 40), Qt::black);
    for (size_t k = 0; k < components.size(); ++k)
        editor->wireBox(k, tracker, k < 3 || alphaDrags, true);
    editor->wireSwatch();
    return editor;
}

ColourGroupEditor* ColourGroupEditor::lightTrio(QWidget* panel, const QString& caption, const QString& prefix,
                                                const QString& swatchName, int start, int top,
                                                DragTracker& tracker)
{
    static const std::array<const char*, 3> components = {"R", "G", "B"};
    auto* editor = new ColourGroupEditor(panel);
    controls::label(panel, caption, 8, top);
    for (size_t k = 0; k < components.size(); ++k)
        editor->boxes_.push_back(controls::numberBox(panel, prefix + components[k], QString::number(start),
                                                     8 + static_cast<int>(k) * 52, top + 16, 48));
    editor->swatch_ = controls::swatch(panel, swatchName, QRect(168, top + 16, 60, 20), QColor(start, start, start));
    for (size_t k = 0; k < components.size(); ++k)
        editor->wireBox(k, tracker, true, false);
    editor->wireSwatch();
    return editor;
}

void ColourGroupEditor::wireBox(size_t component, DragTracker& tracker, bool drags, bool clampsOnFocusLoss)
{
    NumberBox* box = boxes_[component];
    if (clampsOnFocusLoss)
        connect(box, &TextBox::lostFocus, this, [this, component] { boxLostFocus(component); });
    if (drags) {
        box->enableDragAdjust(tracker, kColourDrag);
        connect(box, &TextBox::mouseMoved, this, &ColourGroupEditor::edited);
    }
    if (component < sliders_.size())
        connect(sliders_[component], &QSlider::valueChanged, this,
                [this, component](int value) { sliderMoved(component, value); });
}

void ColourGroupEditor::wireSwatch()
{
    connect(swatch_, &PictureBox::clicked, this, &ColourGroupEditor::swatchClicked);
}

void ColourGroupEditor::boxLostFocus(size_t component)
{
    const int value = materialBoxValue(boxes_[component]->text());
    boxes_[component]->setText(QString::number(value));
    sliders_.at(component)->setValue(value);
    emit edited();
}

void ColourGroupEditor::sliderMoved(size_t component, int value)
{
    boxes_[component]->setText(QString::number(value));
    emit edited();
}

void ColourGroupEditor::swatchClicked()
{
    const std::optional<QColor> chosen = toolkit::chooseSwatchColour(*swatch_, boxes_);
    if (!chosen)
        return;
    emit edited();
    swatch_->setBackColor(*chosen);
}

ColourTexts ColourGroupEditor::colourTexts() const
{
    return {boxText(boxes_, 0), boxText(boxes_, 1), boxText(boxes_, 2), boxText(boxes_, 3)};
}

RgbTexts ColourGroupEditor::rgbTexts() const
{
    return {boxText(boxes_, 0), boxText(boxes_, 1), boxText(boxes_, 2)};
}

void ColourGroupEditor::setTexts(const ColourTexts& texts)
{
    const std::array<const QString*, 4> values = {&texts.red, &texts.green, &texts.blue, &texts.alpha};
    for (size_t k = 0; k < boxes_.size() && k < values.size(); ++k)
        boxes_[k]->setText(*values[k]);
}

void ColourGroupEditor::setTexts(const RgbTexts& texts)
{
    setTexts(ColourTexts{texts.red, texts.green, texts.blue, boxText(boxes_, 3)});
}

void ColourGroupEditor::showColour()
{
    const Rgb rgb = swatchColour(rgbTexts());
    swatch_->setBackColor(QColor(rgb.red, rgb.green, rgb.blue));
}

void ColourGroupEditor::slidersFromTexts()
{
    for (size_t k = 0; k < sliders_.size(); ++k)
        sliders_[k]->setValue(materialBoxValue(boxes_[k]->text()));
}

} // namespace glazery
