// One colour's controls: number boxes for red, green, blue (and alpha), the
// swatch showing the colour and, for the material groups, a slider under each
// box. The four material groups and the three light colour trios are both
// this editor, made by their own factory.
#pragma once

#include "ui/Toolkit.h"

#include "core/MaterialSettings.h"

#include <QObject>

#include <vector>

class QSlider;
class QWidget;

namespace glazery {

class ColourGroupEditor : public QObject {
    Q_OBJECT
public:
    // A material group in a panel: boxes <prefix>r g b a from "0" with their
    // captions and sliders V<prefix>r .. a, the swatch at the right. Every box
    // clamps to 0..255 when it loses the focus; the alpha box drags only when
    // `alphaDrags`.
    static ColourGroupEditor* materialGroup(QWidget* panel, const QString& prefix,
                                            const QString& swatchName, DragTracker& tracker,
                                            bool alphaDrags);
    // A light colour trio at `top`: its caption, boxes <prefix>R G B holding
    // `start` and a wide swatch.
    static ColourGroupEditor* lightTrio(QWidget* panel, const QString& caption, const QString& prefix,
                                        const QString& swatchName, int start, int top,
                                        DragTracker& tracker);

    ColourTexts colourTexts() const; // alpha empty for a trio
    RgbTexts rgbTexts() const;
    void setTexts(const ColourTexts& texts);
    void setTexts(const RgbTexts& texts);
    // The swatch shows the colour of the boxes.
    void showColour();
    // Each slider moves to its box's value.
    void slidersFromTexts();

signals:
    // A box was dragged or left, a slider moved or a colour was chosen.
    void edited();

private:
    explicit ColourGroupEditor(QWidget* panel);
    void wireBox(size_t component, DragTracker& tracker, bool drags, bool clampsOnFocusLoss);
    void wireSwatch();
    void boxLostFocus(size_t component);
    void sliderMoved(size_t component, int value);
    void swatchClicked();

    std::vector<NumberBox*> boxes_;
    std::vector<QSlider*> sliders_;
    Swatch* swatch_ = nullptr;
};

} // namespace glazery
