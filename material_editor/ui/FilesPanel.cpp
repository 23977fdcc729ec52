#include "ui/FilesPanel.h"
#include "ui/PanelControls.h"
#include "ui/PreviewScene.h"

#include "core/MaterialFile.h"

#include <QPushButton>
#include <QRadioButton>

#include <platform/RuntimeError.h>

namespace glazery {

FilesPanel::FilesPanel(QWidget* panel, PreviewScene& scene)
    : QObject(panel)
    , scene_(scene)
{
    struct Row {
        const char* caption;
        const char* boxName;
        const char* pickName;
        const char* clearName;
    };
    const std::array<Row, 3> rows = {{{"Background:", "txtBackGround", "Command4", "Command2"},
                                      {"Texture:", "txtTexture", "Command3", "Command5"},
                                      {"Bumpmap:", "txtBumpMap", "Command7", "Command6"}}};
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto picture = static_cast<Picture>(r);
        const int y = 22 + static_cast<int>(r) * 40;
        controls::label(panel, tr(rows[r].caption), 8, y);
        paths_[r] = controls::textBox(panel, rows[r].boxName, kNoFileText, 8, y + 16, 160);
        paths_[r]->setReadOnly(true);
        auto* pickButton = controls::button(panel, rows[r].pickName, "...", QRect(172, y + 16, 28, 20));
        auto* clearButton = controls::button(panel, rows[r].clearName, "x", QRect(204, y + 16, 24, 20));
        connect(pickButton, &QPushButton::clicked, this, [this, picture] { pick(picture); });
        connect(clearButton, &QPushButton::clicked, this, [this, picture] { clear(picture); });
    }
    controls::label(panel, tr("Bump mapping:"), 8, 145);
    bumpOn_ = controls::option(panel, "Option4", tr("On"), 112, 144, 50);
    bumpOff_ = controls::option(panel, "Option3", tr("Off"), 166, 144, 50);
    bumpOff_->setChecked(true);
    connect(bumpOn_, &QRadioButton::clicked, this, [this] { setBumpMapping(true); });
    connect(bumpOff_, &QRadioButton::clicked, this, [this] { setBumpMapping(false); });
}

QString FilesPanel::path(Picture picture) const
{
    return paths_.at(picture)->text();
}

bool FilesPanel::bumpMappingOff() const
{
    return bumpOff_->isChecked();
}

void FilesPanel::setBumpMapping(bool on)
{
    (on ? bumpOn_ : bumpOff_)->setChecked(true);
    scene_.setBumpMapping(on);
}

QString FilesPanel::windowTitle() const
{
    return paths_[0]->window()->windowTitle();
}

void FilesPanel::loadPictures(const MaterialSettings& m, platform::StepByStep& steps)
{
    const bool engine = scene_.ready();
    const QString& folder = scene_.programFolder();

    const TextureChoice back = chooseTexture(m.backgroundPath, kDefaultBackFile, folder);
    paths_[Background]->setText(back.boxText);
    if (engine)
        steps.step([&] { scene_.loadBackTexture(back.fileToLoad); });
    const TextureChoice fabric = chooseTexture(m.texturePath, kDefaultFabricFile, folder);
    paths_[Texture]->setText(fabric.boxText);
    if (engine)
        steps.step([&] { scene_.loadFabricTexture(fabric.fileToLoad); });

    // The chosen bump map switches bump mapping on; otherwise the default
    // picture under a new id.
    const TextureChoice bump = chooseTexture(m.bumpMapPath, kDefaultFabricFile, folder);
    paths_[BumpMap]->setText(bump.boxText);
    if (!bump.usesDefault) {
        if (engine)
            steps.step([&] { scene_.loadBumpTexture(bump.fileToLoad); });
        steps.step([&] { setBumpMapping(true); });
    } else if (engine) {
        steps.step([&] { scene_.deleteBumpTexture(); });
        steps.step([&] { scene_.loadBumpTexture(bump.fileToLoad); });
    }
}

void FilesPanel::pick(Picture picture)
{
    const std::optional<QString> file =
        dialogs::openFile(kPictureDialogTitles.at(picture), kPictureFileFilters.at(picture));
    if (!file || !scene_.ready())
        return;
    // The box shows the file only once the engine has taken it.
    try {
        switch (picture) {
        case Background:
            scene_.loadBackTexture(*file);
            scene_.setBackgroundPicture(*file);
            break;
        case Texture:
            scene_.loadFabricTexture(*file);
            break;
        case BumpMap:
            scene_.loadBumpTexture(*file);
            break;
        }
        paths_.at(picture)->setText(*file);
        if (picture == BumpMap)
            setBumpMapping(true);
    } catch (const SceneError& error) {
        dialogs::message(error.description, dialogs::Icon::Exclamation, windowTitle());
    }
}

void FilesPanel::clear(Picture picture)
{
    platform::StepByStep steps;
    paths_.at(picture)->setText(kNoFileText);
    switch (picture) {
    case Background:
        if (scene_.ready()) {
            steps.step([&] { scene_.loadBackTexture(scene_.programFile(kDefaultBackFile)); });
            steps.step([&] { scene_.setBackgroundPicture(kNoFileText); });
        }
        break;
    case Texture:
        if (scene_.ready())
            steps.step([&] { scene_.loadFabricTexture(scene_.programFile(kDefaultFabricFile)); });
        break;
    case BumpMap:
        // Bump mapping goes off before its texture goes away, so no mesh refers
        // to a deleted texture.
        steps.step([&] { setBumpMapping(false); });
        if (scene_.ready())
            steps.step([&] { scene_.deleteBumpTexture(); });
        break;
    }
}

} // namespace glazery
