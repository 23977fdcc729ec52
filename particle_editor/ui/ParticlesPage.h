// The "Particles" page of the tab strip: the colour group, the particle
// texture list with its "..." button for a custom texture, and the size,
// life, bounce and speed sliders.
#pragma once

#include "ui/ColourGroupEditor.h"
#include "ui/Guard.h"

#include <QFrame>

#include <functional>

class QComboBox;

namespace emberly {

class SliderControls;

class ParticlesPage : public QFrame {
    Q_OBJECT
public:
    // `loadTexture` runs for the "..." button.
    ParticlesPage(QWidget* parent, SliderControls& sliders, const Guard& guard,
                  ColourGroupEditor::Actions colourActions, std::function<void()> loadTexture);

    ColourGroupEditor& colours() { return *colours_; }
    const ColourGroupEditor& colours() const { return *colours_; }

    QString currentTexture() const;
    QString firstTexture() const;
    void selectFirstTexture();
    // Selects the entry named `name`; an unknown name leaves the list as it is.
    void selectTexture(const QString& name);
    // The list still holds only its four built-in entries.
    bool onlyBuiltInTextures() const;
    // Adds the one "Custom" entry unless it is there, and selects it.
    void selectCustomTexture();

private:
    ColourGroupEditor* colours_ = nullptr;
    QComboBox* textures_ = nullptr;   // cmbTex
};

} // namespace emberly
