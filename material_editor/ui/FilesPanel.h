// The files panel: the background, texture and bump map pictures, each with a
// "..." button that picks a file and an "x" button that goes back to none,
// and bump mapping on or off.
#pragma once

#include "ui/Toolkit.h"

#include <QObject>

#include <array>

class QRadioButton;

namespace platform {
class StepByStep;
}

namespace glazery {

class PreviewScene;
struct MaterialSettings;

class FilesPanel : public QObject {
    Q_OBJECT
public:
    // The three pictures, in the order of their rows.
    enum Picture { Background, Texture, BumpMap };

    FilesPanel(QWidget* panel, PreviewScene& scene);

    QString path(Picture picture) const;
    bool bumpMappingOff() const;
    void setBumpMapping(bool on);

    // A material file's pictures: each path box and its texture, the default
    // where the file names none or a missing file; a chosen bump map switches
    // bump mapping on.
    void loadPictures(const MaterialSettings& settings, platform::StepByStep& steps);

    void pick(Picture picture);
    void clear(Picture picture);

private:
    QString windowTitle() const;

    PreviewScene& scene_;
    std::array<TextBox*, 3> paths_{}; // txtBackGround, txtTexture, txtBumpMap
    QRadioButton* bumpOff_ = nullptr; // Option3
    QRadioButton* bumpOn_ = nullptr;  // Option4
};

} // namespace glazery
