// The main window of Emberly: the 3D view, the panel with the emitter
// selector and the tab pages that edit the current emitter, and the menus.
// It runs the start-up, the frame loop and the shut-down, owns the scene and
// the three particle factories, and wires the panel's parts to the records.
#pragma once

#include "core/EmitterRecords.h"
#include "core/clsParticleFactory.h"
#include "ui/Guard.h"
#include "ui/SliderControls.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSlider;

namespace platform {
struct RuntimeError;
}
namespace toolkit {
class PictureBox;
}

namespace emberly {

class EditorTabs;
class EmberlyScene;
class EmitterPage;
class EmitterSelector;
class OptionsPage;
class ParticlesPage;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(const QString& programFolder, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up (the 13 load steps). With runLoop the frame loop runs until
    // Escape or closing and the shut-down follows; without it the caller
    // drives single passes with runFrame(). False when the user declined to
    // go on after the DirectX check or the view could not be started.
    // `afterStart` runs once start-up is done, before the loop (a file named
    // on the command line).
    bool load(bool runLoop, const std::function<void()>& afterStart = {});
    // One pass of the loop; false when the loop must end.
    bool runFrame();
    void shutdown();
    bool running() const { return running_; }

    // The frame, as the loop runs it while the window is active.
    void RenderScreen();
    // Copies the controls into emitter `index`'s records and pushes them.
    void updateEmettor(int index);
    void updateVelocity();
    void showEmitter(int index);
    void menuReset();
    void loadTex();

    // ---- state, for the other windows and for checks --------------------
    EmberlyScene& scene() { return *scene_; }
    EmitterRecords& records() { return records_; }
    clsParticleFactory& factory(int index);
    bool hasFactory(int index) const;
    int currentEmitter() const { return currentEmitter_; }
    int alphaMode() const { return alphaMode_; }
    bool autoRotate() const { return autoRotate_; }
    bool emitterEnabled(int index) const;
    D3DVECTOR velocityValues() const;
    long renderedFrames() const { return renderedFrames_; }
    std::int64_t colorKey() const { return colorKey_; }
    QString programFolder() const;
    // The texture list still holds only its four built-in entries.
    bool onlyBuiltInTextures() const;

    // Whether the main window is the active window; tests may replace it.
    void setActiveQuery(std::function<bool()> query) { activeQuery_ = std::move(query); }

    // The menus' file, preset and code items; set by the windows that handle them.
    struct MenuHandlers {
        std::function<void()> load, save, code, addNew;
        std::function<void()> buildPresetMenus;
    };
    void setMenuHandlers(MenuHandlers handlers) { menuHandlers_ = std::move(handlers); }

    // The two preset lists, item 0 being the hidden template "temp".
    QMenu* presetDeleteMenu() const { return deleteMenu_; }
    QMenu* presetsMenu() const { return presetsMenu_; }
    QAction* presetListAnchor() const { return presetSeparator_; }

    // Writes "Error : <procedure> : #<n> : <description>" to the debug log.
    void logError(const QString& procedure, const platform::RuntimeError& error);
    // Runs a handler; a failure is logged under `procedure` and the program goes on.
    void guarded(const QString& procedure, const std::function<void()>& action);

    // Sets the enable box i as a click would.
    void setEmitterEnabled(int index, bool on);
    // Selects emitter i in the selector (its click behaviour).
    void selectEmitter(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void buildPanel();
    Guard guard();
    void applyResizeRules();

    bool directXCheck();
    void setupParticles(int index);
    bool isMainWindowActive() const;

    void colourChannelEdited(int channel, float value);
    void randomColourChosen(const D3DCOLORVALUE& colour);
    void alphaModeChosen(int mode);
    void sliderWritten(QSlider* slider);

    std::unique_ptr<EmberlyScene> scene_;
    EmitterRecords records_;
    std::array<std::unique_ptr<clsParticleFactory>, kEmitterCount> factories_;
    SliderControls sliders_;
    bool running_ = false;
    bool shutDown_ = false;
    bool autoRotate_ = false;
    int currentEmitter_ = 0;
    int alphaMode_ = 1;
    std::int64_t colorKey_ = -1;
    long renderedFrames_ = 0;
    bool showing_ = false;   // controls are being filled from the records
    bool inResize_ = false;
    std::function<bool()> activeQuery_;
    MenuHandlers menuHandlers_;

    // The window's parts; Qt's parent links own them.
    QWidget* client_ = nullptr;
    toolkit::PictureBox* picture1_ = nullptr;
    EmitterSelector* selector_ = nullptr;
    EditorTabs* tabs_ = nullptr;
    ParticlesPage* particlesPage_ = nullptr;
    EmitterPage* emitterPage_ = nullptr;
    OptionsPage* optionsPage_ = nullptr;
    QMenu* presetsMenu_ = nullptr;
    QMenu* deleteMenu_ = nullptr;
    QAction* presetSeparator_ = nullptr;
};

} // namespace emberly
