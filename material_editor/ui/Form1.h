// The main window of Glazery: the 3D preview, the scrolling column of
// settings panels, the bottom bar of image buttons and the menus. It owns the
// engine objects, the preview scene, the render loop and the shutdown.
#pragma once

#include "ui/PreviewScene.h"
#include "ui/Toolkit.h"

#include "core/CodeGenerator.h"
#include "core/EditingRules.h"
#include "core/MaterialSettings.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace platform {
class StepByStep;
}

namespace glazery {



struct ColourGroupControls {
    std::array<NumberBox*, 4> box{};   // red, green, blue, alpha
    std::array<QSlider*, 4> slider{};
    Swatch* swatch = nullptr;
};

struct LightTrioControls {
    std::array<NumberBox*, 3> box{};   // red, green, blue
    Swatch* swatch = nullptr;
};

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int PanelCount = 7;
    static constexpr int ObjectCount = 9;
    static constexpr int CollapsedPanelHeight = 285; // twips
    static constexpr int ColumnRestingTop = 120;     // twips

    // programFolder: where default.mkl, glazeryobjects.ini, Readme.txt, the
    // debug log and the media live.
    explicit Form1(const QString& programFolder, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up of the window (steps 1-18). With runLoop the render loop runs
    // until Escape or Shutdown and Shutdown follows; without it the caller
    // drives single frames with runFrame(). Returns false when the engine
    // could not be started (Shutdown has then run).
    bool load(bool runLoop);
    // One pass of the render loop; false when the loop must end (Escape down
    // or the program shut down meanwhile).
    bool runFrame();
    // Releases the engine objects in their fixed order; safe to call twice.
    void shutdown();
    bool isShutDown() const { return shutDown_; }

    PreviewScene& scene() { return *scene_; }

    // --- used by the objects window -------------------------------------
    void setObjectCaption(int index, const QString& caption);
    QString objectCaption(int index) const;
    void setObjectChoosable(int index, bool on);

    // --- code names shared with the code window -------------------------
    CodeNames& codeNames() { return codeNames_; }
    // The controls' values as the material file and the code generator see them.
    MaterialSettings currentSettings() const;
    QString defaultMaterialPath() const;

    // --- actions (menus, buttons), public so tests can run them ---------
    void menuNew();
    void menuLoad();
    void menuSave();
    void menuExit();
    void showHelp();
    void showAbout();
    void showCode();
    void showObjectsOptions();
    bool loadMaterialFile(const QString& path);
    bool saveMaterialFile(const QString& path);
    void loadLightSettings(const QString& path);

    // Header mouse-down on panel i (left: collapse/expand, right: start a drag).
    void panelHeaderMouseDown(int index, Qt::MouseButton button, int yTwips);
    void panelHeaderMouseMove(int index, Qt::MouseButtons buttons, int yTwips);
    double scrollRatio() const { return scrollRatio_; }
    int columnTop() const { return columnTop_; }
    int panelTop(int index) const { return panelTop_.at(static_cast<size_t>(index)); }
    int panelHeight(int index) const { return panelHeight_.at(static_cast<size_t>(index)); }
    int panelFullHeight(int index) const { return panelFullHeight_.at(static_cast<size_t>(index)); }

    void setScrollingDown(bool on) { scrollingDown_ = on; }
    void setScrollingUp(bool on) { scrollingUp_ = on; }
    void scrollStep(double frameMilliseconds);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (Form1Layout.cpp)
    void buildMenus();
    void buildColumn(QWidget* client);
    void buildBottomBar(QWidget* client);
    QWidget* buildPanel(int index, const QString& caption);
    void buildColourPanel(QWidget* panel, ColourGroupControls& group, const QString& prefix,
                          const QString& swatchName);
    void buildSpecularExtras(QWidget* panel);
    void buildFilesPanel(QWidget* panel);
    void buildObjectsPanel(QWidget* panel);
    void buildLightPanel(QWidget* panel);
    void finishPanel(int index, int contentHeightPixels);

    // Column (Form1Column.cpp)
    void applyColumnGeometry();
    void updateScrollRatio();
    void dragScroller(int scrollerTopPixels);
    void applyResizeRules();

    // Engine set-up and per-frame work (Form1Scene.cpp)
    bool startEngine();
    void loadMeshes();
    bool pumpEvents();

    // Editing controls (Form1Editing.cpp)
    void wireEditing();
    void applyGroup(Group group);
    void applyAmbient() { applyGroup(Group::Ambient); }
    void applyDiffuse() { applyGroup(Group::Diffuse); }
    void applySpecular() { applyGroup(Group::Specular); }
    void applyEmissive() { applyGroup(Group::Emissive); }
    void applyLight();
    void materialBoxLostFocus(Group group, int component);
    void materialSliderChanged(Group group, int component, int value);
    void materialSwatchClicked(Group group);
    void powerBoxLostFocus();
    void lightSwatchClicked(int trio);
    void updateLightColour(int trio);
    void lightTypeClicked();
    void setLightOn(bool on);
    void setBumpMapping(bool on);
    void setSphereMapping(bool on);
    void showObject(int index);
    void slidersFromTexts();
    void rebuildTestLight();
    void applyLightPart(const MaterialSettings& settings, platform::StepByStep& steps);
    void pickTexture(int which);   // 0 background, 1 texture, 2 bump map
    void clearTexture(int which);

    ColourGroupControls& group(Group g) { return groups_.at(static_cast<size_t>(g)); }

    // Controls
    PictureBox* picture1_ = nullptr;
    PictureBox* picContainer_ = nullptr;
    PictureBox* picSettings_ = nullptr;
    PictureBox* picScrollbar_ = nullptr;
    PictureBox* picScroller_ = nullptr;
    PictureBox* picUpArr_ = nullptr;
    PictureBox* picDownArr_ = nullptr;
    PictureBox* picBottom_ = nullptr;
    std::array<PictureBox*, 4> bottomButtons_{}; // load, save, code, quit
    std::array<PictureBox*, PanelCount> picFrame_{};
    std::array<MouseLabel*, PanelCount> lblFrame_{};
    std::array<PictureBox*, PanelCount> picArrow_{};
    std::array<ColourGroupControls, 4> groups_{};
    NumberBox* pow_ = nullptr;
    QSlider* vPow_ = nullptr;
    TextBox* txtBackGround_ = nullptr;
    TextBox* txtTexture_ = nullptr;
    TextBox* txtBumpMap_ = nullptr;
    QRadioButton* option3_ = nullptr; // bump off
    QRadioButton* option4_ = nullptr; // bump on
    std::array<QRadioButton*, ObjectCount> optObjects_{};
    QCheckBox* check2_ = nullptr;
    QComboBox* cboTypeOfLight_ = nullptr;
    QRadioButton* option5_ = nullptr; // light on
    QRadioButton* option6_ = nullptr; // light off
    std::array<NumberBox*, 3> position_{};  // pX pY pZ
    std::array<NumberBox*, 3> direction_{}; // tX tY tZ
    std::array<QSlider*, 3> directionSlider_{}; // vsX vsY vsZ
    NumberBox* tTheta_ = nullptr;
    NumberBox* tPhi_ = nullptr;
    NumberBox* lRange_ = nullptr;
    std::array<LightTrioControls, 3> lightTrios_{}; // ambient, diffuse, specular
    QAction* mnuAutoSpin_ = nullptr;

    // Settings column, in twips
    std::array<int, PanelCount> panelTop_{};
    std::array<int, PanelCount> panelHeight_{};
    std::array<int, PanelCount> panelFullHeight_{};
    int columnTop_ = ColumnRestingTop;
    int columnHeight_ = 0;
    double scrollRatio_ = 0;
    bool scrollingUp_ = false;
    bool scrollingDown_ = false;
    int headerDragY_ = 0;
    int scrollerDragY_ = 0;

    // Window state
    bool viewDragActive_ = false;
    // Last mouse y seen by any drag-to-adjust box.
    DragTracker dragTracker_;
    D3DLIGHT8 testLight_;
    CodeNames codeNames_;
    std::unique_ptr<PreviewScene> scene_;
    bool shutDown_ = false;
    bool inResize_ = false;
};

} // namespace glazery
