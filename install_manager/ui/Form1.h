// The manager's main window: which engine library the component registry
// resolves to and its version, the utility library, the DirectX verdict and
// the adapter, and the render test drawn by the engine in ViewTest. The
// engine is bound late, by its ProgID, only while a check or the render test
// runs.
#pragma once

#include <platform/Component.h>

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace stewardex {

inline constexpr const char* EngineProgId = "Korlith3D.KLEngine";
inline constexpr const char* StartRenderText = "Start Render";
inline constexpr const char* StopRenderText = "Stop Render";

class Form1 : public QWidget {
    Q_OBJECT
public:
    // programFolder: where the debug log is written and the helpers and the
    // configuration are found.
    explicit Form1(const QString& programFolder, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: render test stopped, window shown, DirectX check, first checks.
    void load();

    void Getklutil63Version();
    void GetKLVersion();
    void GetKLVersion2();
    void GetKLVersionFirstTime();
    void DoGlobalInit();
    void DoGlobalInit2();
    void DoGlobalInitFirstTime();
    void InitEngine();
    void InitEngineFirstTime();
    // 0 stops the render test; -1 starts it and returns when it is stopped.
    void RenderIt(int enabled);
    void checkDirectX();

    bool holdsEngine() const { return engine_.has_value(); }
    // Frames the render test has presented since the window was made.
    int framesRendered() const { return framesRendered_; }

    // What ending the program does (Quit, closing the window); tests record it.
    void setProgramEnd(std::function<void()> end) { programEnd_ = std::move(end); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class CheckVariant { Render, AfterRegistration, FirstTime };
    void engineCheck(CheckVariant variant);
    void initEngine(bool firstTime);
    bool renderTestRunning() const;
    void showSearchWindow();
    void showVersionWindow();
    void viewDebugFile();
    void toggleRender();
    QString debugFile() const;

    QString programFolder_;
    std::optional<platform::DispatchObject> engine_;
    std::function<void()> programEnd_;
    bool ending_ = false;
    int framesRendered_ = 0;

    QLabel* label9_ = nullptr;
    QLabel* label10_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* label7_ = nullptr;
    QLabel* label16_ = nullptr;
    QLabel* label18_ = nullptr;
    QLabel* label14_ = nullptr;
    QWidget* viewTest_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* command4_ = nullptr;
};

} // namespace stewardex
