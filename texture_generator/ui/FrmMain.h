// Layerloom's one window: the layer list and its edit fields, the height-map
// and output choices, the resolution, Compile and Preview through the engine,
// and the presets. Its state is the layer list and the controls.
#pragma once

#include "core/LayerList.h"
#include "ui/LoomScene.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;

namespace toolkit {
class PictureBox;
}

namespace layerloom {

class FrmMain : public QWidget {
    Q_OBJECT
public:
    explicit FrmMain(QString programFolder, QWidget* parent = nullptr);
    ~FrmMain() override;

    // Shows the window and starts the engine in the preview area. False when
    // the engine cannot render there (the message has been shown).
    // A `presetToOpen` is loaded once the engine runs, as "Load Preset" loads it.
    bool load(const QString& presetToOpen = QString());

    const LayerList& layers() const { return layers_; }
    LoomScene& scene() { return *scene_; }

    // The window's operations, as its buttons run them.
    void RefreshLayerList();
    void ShowLayer(int index);
    void addLayer();
    void removeLayer();
    void clearLayers();
    void browseHeightMap();
    void browseFinal();
    void compile();
    void preview();
    void savePreset();
    void loadPreset();
    // The preset at `path` into the window, with Load Preset's messages.
    void loadPresetFile(const QString& path);

private:
    void buildControls();
    void connectHandlers();
    void setLayerFieldText(QLineEdit* box, const QString& text);
    void minChanged(const QString& text);
    void maxChanged(const QString& text);
    void uScaleChanged(const QString& text);
    void vScaleChanged(const QString& text);
    void sliderChanged(int value);
    bool canGenerate() const;
    // Runs the generation steps into `output`; false (with one message saying
    // what failed, the previous view drawn again) when no texture was made.
    bool generateInto(const QString& output, int resolution);

    QString programFolder_;
    std::unique_ptr<LoomScene> scene_;
    LayerList layers_;

    QLabel* lblWelcome_ = nullptr;
    QLineEdit* txtheight_ = nullptr;
    QPushButton* cmdHeightBrowse_ = nullptr;
    QLineEdit* txtFinal_ = nullptr;
    QPushButton* cmdFinalBrowse_ = nullptr;
    QComboBox* cboResolution_ = nullptr;
    QCheckBox* chkDithering_ = nullptr;
    QCheckBox* chkMipMapping_ = nullptr;
    QListWidget* lstLayers_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdRemove_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QLineEdit* txtLayerPath_ = nullptr;
    QLineEdit* txtMin_ = nullptr;
    QLineEdit* txtMax_ = nullptr;
    QLineEdit* txtTexUScale_ = nullptr;
    QLineEdit* txtTexVScale_ = nullptr;
    QSlider* hsTexBlend_ = nullptr;
    QLabel* lblPower_ = nullptr;
    toolkit::PictureBox* picPreview_ = nullptr;
    QPushButton* cmdPreview_ = nullptr;
    QPushButton* cmdCompile_ = nullptr;
    QPushButton* cmd3DPreview_ = nullptr;
    QPushButton* cmdLoadPreset_ = nullptr;
    QPushButton* cmdSavePreset_ = nullptr;
};

} // namespace layerloom
