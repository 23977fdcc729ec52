// The main window of Glazery: the 3D preview, the settings column with its
// panels, the bottom bar of image buttons and the menus. It runs the start-up
// sequence, the render loop, the material files and the shutdown, and owns the
// preview scene.
#pragma once

#include "ui/Toolkit.h"

#include "core/CodeGenerator.h"
#include "core/MaterialSettings.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QSlider;

namespace platform {
class StepByStep;
struct RuntimeError;
}

namespace glazery {

class ColourGroupEditor;
class FilesPanel;
class LightPanel;
class ObjectsPanel;
class PreviewScene;
class SettingsColumn;
enum class Group;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // programFolder: where default.mkl, glazeryobjects.ini, Readme.txt, the
    // debug log and the media live.
    explicit Form1(const QString& programFolder, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up of the window (steps 1-18). With runLoop the render loop runs
    // until Escape or Shutdown and Shutdown follows; without it the caller
    // drives single frames with runFrame(). Returns false when the engine
    // could not be started (Shutdown has then run). A `fileToOpen` is loaded
    // once the engine runs, as File > Load loads it.
    bool load(bool runLoop, const QString& fileToOpen = QString());
    // One pass of the render loop; false when the loop must end (Escape down
    // or the program shut down meanwhile).
    bool runFrame();
    // Releases the engine objects in their fixed order; safe to call twice.
    void shutdown();
    bool isShutDown() const { return shutDown_; }

    PreviewScene& scene() { return *scene_; }
    SettingsColumn& column() { return *column_; }
    ObjectsPanel& objectsPanel() { return *objects_; }

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
    // A material file named on the command line: loadMaterialFile, or a
    // message naming the file when there is none at `path`.
    void openFileAtStart(const QString& path);
    bool saveMaterialFile(const QString& path);
    void loadLightSettings(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildPreview(QWidget* client);
    void buildColumn(QWidget* client);
    void buildPowerControls(QWidget* panel);
    void buildBottomBar(QWidget* client);
    void wireMaterialGroups();
    void applyResizeRules();

    bool startEngine();
    void startEngineObjects();
    void loadMeshes();
    bool pumpEvents();
    void reportRuntimeError(const platform::RuntimeError& error);

    void applyGroup(Group group);
    void applyAllGroups();
    void powerBoxLostFocus();
    void slidersFromTexts();
    void applyLightPart(const MaterialSettings& settings, platform::StepByStep& steps);

    ColourGroupEditor& editor(Group group);

    // Controls
    PictureBox* picture1_ = nullptr;  // the preview
    PictureBox* picBottom_ = nullptr;
    PictureBox* quitButton_ = nullptr; // picButtonQuit
    QAction* autoSpin_ = nullptr;      // mnuAutoSpin
    SettingsColumn* column_ = nullptr;
    std::array<ColourGroupEditor*, 4> groups_{}; // in Group order
    NumberBox* power_ = nullptr;    // Pow
    QSlider* powerSlider_ = nullptr; // VPow
    FilesPanel* files_ = nullptr;
    ObjectsPanel* objects_ = nullptr;
    LightPanel* light_ = nullptr;

    // Window state
    bool viewDragActive_ = false;
    // Last mouse y seen by any drag-to-adjust box.
    DragTracker dragTracker_;
    CodeNames codeNames_;
    std::unique_ptr<PreviewScene> scene_;
    bool shutDown_ = false;
    bool inResize_ = false;
};

} // namespace glazery
