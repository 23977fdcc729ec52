// "Landlume - Lightmap generation tool": the frame window with the menu bar,
// the two settings panels, the progress bar and the child windows "Main" and
// "Lightmap". The program runs inside its load: start-up, the frame loop
// while running, shutdown. The menus and panel buttons are wired here to the
// window's parts: the map file actions, the landscape and object actions and
// the lightmap controller.
#pragma once

#include "ui/FrmMain.h"
#include "ui/FrmShadowMap.h"
#include "ui/LandPanel.h"
#include "ui/LandscapeActions.h"
#include "ui/LightmapController.h"
#include "ui/MapFileActions.h"
#include "ui/MdEngine.h"
#include "ui/ObjectActions.h"
#include "ui/ObjectPanel.h"
#include "ui/SettingsBoxes.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;

namespace landlume {

class FrmInfo;

inline const QString kProgramTitle = QStringLiteral("Landlume - Lightmap generation tool");
inline const QString kIllegalLightmapSize = QStringLiteral("Only legal values between 64 and 2048 are allowed.");

class MDIMain : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIMain(QString programFolder);
    ~MDIMain() override;

    // Shows the windows and starts the engine; with `runLoop` runs the frame
    // loop until it ends and shuts down. False when start-up failed (the
    // message has been shown). A `mapToOpen` is opened once the engine runs,
    // as "Open LDM" opens it.
    bool load(bool runLoop, const QString& mapToOpen = QString());
    // One pass of the frame loop; false once the loop is to end.
    bool frame();
    // The loop ended: shutdown.
    void shutdown();

    const QString& programFolder() const { return programFolder_; }
    MdEngine& engine() { return *engine_; }
    FrmMain* mainView() const { return main_; }
    FrmShadowMap* lightmapWindow() const { return shadowMap_; }
    QMdiSubWindow* lightmapSubWindow() const { return shadowMapWindow_; }
    LandPanel* landPanel() const { return landPanel_; }
    ObjectPanel* objectPanel() const { return objectPanel_; }
    QProgressBar* progress() const { return progress_; }

    // The window's parts behind the menus and buttons.
    MapFileActions& mapFiles() { return mapFiles_; }
    LandscapeActions& landscape() { return landscape_; }
    ObjectActions& objects() { return objects_; }
    LightmapController& lightmap() { return lightmap_; }

    // SetLightmapSize: size of the picture and the lightmap window, or a warning.
    void setLightmapSize(float width, float height);
    // The lightmap window shown, active and with the focus.
    void showLightmapWindow();

    // ---- the window's own menu items ---------------------------------------
    void exitProgram();
    void toggleCamera();
    void showAbout();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void connectPanels();
    void arrangeChildren();
    QAction* menuItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut);
    void showMeshInfo(int slot);
    // The lightmap window's outer size for a picture of `picture` pixels.
    void fitLightmapWindow(QSize picture);

    QString programFolder_;
    std::unique_ptr<MdEngine> engine_;
    // Widgets, owned by the window through their parents.
    QMdiArea* area_ = nullptr;
    FrmMain* main_ = nullptr;
    FrmShadowMap* shadowMap_ = nullptr;
    QMdiSubWindow* mainWindow_ = nullptr;
    QMdiSubWindow* shadowMapWindow_ = nullptr;
    LandPanel* landPanel_ = nullptr;
    ObjectPanel* objectPanel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* effectsMenu_ = nullptr;
    QAction* cameraItem_ = nullptr;
    FrmInfo* info_ = nullptr;   // made on first use
    bool arranged_ = false;

    MapFileActions mapFiles_{*this};
    LandscapeActions landscape_{*this};
    ObjectActions objects_{*this};
    LightmapController lightmap_{*this};
};

} // namespace landlume
