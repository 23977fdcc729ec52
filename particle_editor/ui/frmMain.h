// The main window of Emberly: the 3D view, the emitter selector, the tab
// strip with the controls that edit the current emitter, and the menus. It
// runs the start-up, the frame loop and the shut-down, and owns the scene and
// the three particle factories.
#pragma once

#include "core/EmitterRecords.h"
#include "core/clsParticleFactory.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QMenu;
class QRadioButton;
class QSlider;
class QTabBar;
class QToolButton;

namespace platform {
struct RuntimeError;
}
namespace toolkit {
class PictureBox;
}

namespace emberly {

class EmberlyScene;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(const QString& programFolder, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up (the 13 load steps). With runLoop the frame loop runs until
    // Escape or closing and the shut-down follows; without it the caller
    // drives single passes with runFrame(). False when the user declined to
    // go on after the DirectX check or the view could not be started.
    bool load(bool runLoop);
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
    D3DVECTOR velocityValues() const { return {velocityX_, velocityY_, velocityZ_}; }
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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildSelector(QWidget* parent);
    void buildTabs(QWidget* parent);
    void buildParticlesPage(QFrame* page);
    void buildEmitterPage(QFrame* page);
    void buildOptionsPage(QFrame* page);
    QSlider* addSlider(QWidget* parent, const QString& name, const QString& caption, int min, int max, int value,
                       QPoint at, int width = 150);
    void wireSliders();
    void applyResizeRules();
    void layOutPages();

    bool directXCheck();
    void setupParticles(int index);
    bool isMainWindowActive() const;

    void colourBoxChanged(int channel);
    void colourBoxClicked(int channel);
    void pickColour(QPoint pos);
    void randomColourClicked();
    void pauseClicked(int index);
    void alphaClicked(int mode);
    void skyClicked(int index);
    void sliderWritten(QSlider* slider);
    void setSliderValue(const QString& name, double value);
    QSlider* slider(const QString& name) const;

    std::unique_ptr<EmberlyScene> scene_;
    EmitterRecords records_;
    std::array<std::unique_ptr<clsParticleFactory>, kEmitterCount> factories_;
    bool running_ = false;
    bool shutDown_ = false;
    bool autoRotate_ = false;
    int currentEmitter_ = 0;
    int alphaMode_ = 1;
    std::int64_t colorKey_ = -1;
    float velocityX_ = 0, velocityY_ = 0, velocityZ_ = 0;
    long renderedFrames_ = 0;
    bool showing_ = false;   // controls are being filled from the records
    bool inResize_ = false;
    std::function<bool()> activeQuery_;
    MenuHandlers menuHandlers_;

    // Controls
    QWidget* client_ = nullptr;
    toolkit::PictureBox* picture1_ = nullptr;
    QWidget* panel_ = nullptr;
    QTabBar* tabStrip_ = nullptr;
    std::array<QFrame*, 3> pages_{};
    std::array<QRadioButton*, 3> optTotEmit_{};
    std::array<QCheckBox*, 3> chkPause_{};
    std::array<QLineEdit*, 3> colourBoxes_{};   // txtRed, txtGreen, txtBlue
    std::array<QLineEdit*, 3> velocityBoxes_{}; // txtRotX, txtRotY, txtRotZ
    std::array<QToolButton*, 4> optStyle_{};
    std::array<QRadioButton*, 3> optAlpha_{};
    std::array<QRadioButton*, 2> optSky_{};
    toolkit::PictureBox* picker_ = nullptr;
    QCheckBox* chkRnd_ = nullptr;
    QCheckBox* chkIntro_ = nullptr;
    QCheckBox* chkViewRotate_ = nullptr;
    QComboBox* cmbTex_ = nullptr;
    QComboBox* cmbMotion_ = nullptr;
    QMenu* presetsMenu_ = nullptr;
    QMenu* deleteMenu_ = nullptr;
    QAction* presetSeparator_ = nullptr;
};

} // namespace emberly
