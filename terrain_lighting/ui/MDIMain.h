// "Landlume - Lightmap generation tool": the frame window with the menu bar,
// the two settings panels, the progress bar and the child windows "Main" and
// "Lightmap". The program runs inside its load: start-up, the frame loop
// while running, shutdown.
#pragma once

#include "core/Filters.h"
#include "core/ShadowBake.h"
#include "ui/FrmMain.h"
#include "ui/FrmShadowMap.h"
#include "ui/LandPanel.h"
#include "ui/MdEngine.h"
#include "ui/ObjectPanel.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;

namespace landlume {

class FrmInfo;

inline const QString kProgramTitle = QStringLiteral("Landlume - Lightmap generation tool");
inline const QString kInvalidSettingsTitle = QStringLiteral("Invalid settings");
inline const QString kIllegalLightmapSize = QStringLiteral("Only legal values between 64 and 2048 are allowed.");

class MDIMain : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIMain(QString programFolder);
    ~MDIMain() override;

    // Shows the windows and starts the engine; with `runLoop` runs the frame
    // loop until it ends and shuts down. False when start-up failed (the
    // message has been shown).
    bool load(bool runLoop);
    // One pass of the frame loop; false once the loop is to end.
    bool frame();
    // The loop ended: shutdown.
    void shutdown();

    MdEngine& engine() { return *engine_; }
    FrmMain* mainView() const { return main_; }
    FrmShadowMap* lightmapWindow() const { return shadowMap_; }
    QMdiSubWindow* lightmapSubWindow() const { return shadowMapWindow_; }
    LandPanel* landPanel() const { return landPanel_; }
    ObjectPanel* objectPanel() const { return objectPanel_; }
    QProgressBar* progress() const { return progress_; }

    // SetLightmapSize: size of the picture and the lightmap window, or a warning.
    void setLightmapSize(float width, float height);

    // ---- actions (menus and panel buttons) ----------------------------------
    void newScene();
    void openMap();
    void saveMap();
    void exitProgram();
    void toggleCamera();
    void showAbout();
    void loadHeightmap();
    void applyLand();
    void applyLight();
    void applyShadow();
    void applyAlpha();
    void loadObject();
    void applyObject();
    // Loads a map file as "Open LDM" does after its dialog.
    void openMapFile(const QString& path);
    // The file as texture "LightMap" on the land and as the lightmap picture;
    // throws when the engine cannot load it.
    void applyLightmapFile(const QString& path);

    // ---- the lightmap -----------------------------------------------------------
    // "Generate lightmap", or "Cancel" while a bake runs.
    void generateLightmap();
    void loadLightmap();
    void removeLightmap();
    void saveLightmap();
    void saveCoordinates();
    // A filter on the lightmap picture (numbers and strengths of the menus).
    void applyLightmapFilter(int number, int strength);
    // How the last bake ended.
    const BakeOutcome& lastBake() const { return lastBake_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void connectPanels();
    void arrangeChildren();
    QAction* menuItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut);
    void showMeshInfo(int slot);
    // The number in a box, or a warning naming the box and nothing.
    std::optional<float> boxNumber(const QLineEdit* box, const QString& what);
    std::optional<D3DVECTOR> boxVector(const BoxArray& boxes, const QString& what);
    void resetPanels();
    // The lightmap window's outer size for a picture of `picture` pixels.
    void fitLightmapWindow(QSize picture);

    QString programFolder_;
    std::unique_ptr<MdEngine> engine_;
    QMdiArea* area_;
    FrmMain* main_;
    FrmShadowMap* shadowMap_;
    QMdiSubWindow* mainWindow_ = nullptr;
    QMdiSubWindow* shadowMapWindow_ = nullptr;
    LandPanel* landPanel_;
    ObjectPanel* objectPanel_;
    QProgressBar* progress_;
    QMenu* optionsMenu_ = nullptr;
    QMenu* effectsMenu_ = nullptr;
    QAction* cameraItem_ = nullptr;
    std::unique_ptr<FrmInfo> info_;
    bool arranged_ = false;
    MdFilter filters_;
    BakeOutcome lastBake_;
};

} // namespace landlume
