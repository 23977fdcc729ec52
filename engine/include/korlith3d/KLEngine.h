// The engine root object. Creating it creates the engine context (one per
// process; a second KLEngine made while one lives shares it); every other engine
// object reaches that context. Resources (textures, materials, meshes, lights)
// work without a window; drawing needs Init3DWindowedMode first.
//
// Start-up order the tools use (values as they pass them):
//   Glazery : PreInit(-1,-1,0); SetDebugFile(dir+"/debugfile.txt"); SetTextureFilter(1);
//             SetVerticalSync(true); Init3DWindowedMode(winId, true); ShowMouseCursor(true);
//             SetSearchFolder(dir)
//   Emberly : PreInit(-1,-1,0); SetDebugFile; Init3DWindowedMode(winId, true);
//             SetSearchFolder(dir); ShowMouseCursor(true); SetTextureFilter(2, 0)
//   Landlume: SetDebugFile("Debug\\Debug.txt"); SetDeviceOptions(true,true,false);
//             SetDetail(2, 0.8f); SetVerticalSync(true); Init3DWindowedMode(winId, true);
//             GetViewportSize(w,h,d); SetTextureFilter(1); SetSearchFolder(dir);
//             SetSpecularLighting(true); ShowMouseCursor(true) (again at shutdown)
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace kl::core {
class Context;
}

class KL_API KLEngine {
public:
    KLEngine();
    ~KLEngine();
    KLEngine(const KLEngine&) = delete;
    KLEngine& operator=(const KLEngine&) = delete;

    // --- Log ---
    // Opens (truncates) the debug log; relative paths resolve against the
    // working folder, "\" separators are accepted. The engine writes its start-up
    // details (GL version and renderer, window size) and every failure there.
    void SetDebugFile(const QString& path);
    // Appends one line to the debug log (no-op when no log is set).
    void WriteToLog(const QString& line);

    // --- Configuration before/after initialisation (all values are recorded) ---
    // Requested output size and colour depth: -1 = the window's own size, 0 = the
    // desktop's depth. Windowed mode always follows the picture box's size.
    void PreInit(int width, int height, int colourDepth);
    // Texture filtering of mesh textures: 0 nearest, 1 bilinear, 2 trilinear;
    // applied at once and to every view attached later. Anisotropy is recorded
    // and not applied (OpenGL 3.3 core has no anisotropic filtering).
    void SetTextureFilter(int mode, int anisotropy = 0);
    // Wait for the display's vertical blank when presenting. The view is made
    // with this choice by Init3DWindowedMode; a change afterwards takes effect
    // at the next Init3DWindowedMode.
    void SetVerticalSync(bool on);
    // Whether the mouse pointer shows over the 3D view.
    void ShowMouseCursor(bool on);
    // Device choices: hardware rendering (always GL here), depth buffer, stencil.
    void SetDeviceOptions(bool hardware, bool depthBuffer, bool stencil);
    // Level of detail: mesh detail level 0..3 and distance scale for it.
    void SetDetail(int level, float distanceScale);
    // Specular highlights of materials and lights (on by default).
    void SetSpecularLighting(bool on);

    // Attaches the renderer to the picture box whose native window id is given
    // (QWidget::winId() as an integer). `hardware` is recorded. Returns false (and
    // logs why) when the window cannot be found or no GL 3.3 context is available.
    bool Init3DWindowedMode(std::uintptr_t window, bool hardware = true);
    bool IsInitialised() const;

    // Folder that relative media paths resolve against (without regard to case).
    void SetSearchFolder(const QString& folder);
    QString GetSearchFolder() const;

    // --- Frame ---
    // Starts a frame: clears to the scene colour (KLScene::SetColor). With
    // `keepDepth` true the depth buffer is not cleared.
    void Clear(bool keepDepth = false);
    // Shows the frame in the picture box; draws the frame counter first when
    // DisplayFPS is on. Throws KLERR_DEVICE_LOST when the context was lost.
    void RenderToScreen();
    // Frame-rate display in the view's top-left corner.
    void DisplayFPS(bool show);
    bool GetDisplayFPS() const;
    // Frames presented during the last whole second.
    int GetFPS() const;

    // --- View ---
    int GetViewportWidth() const;
    int GetViewportHeight() const;
    // Width, height and colour depth (bits) of the output.
    void GetViewportSize(int& width, int& height, int& depth) const;
    // The window was resized: the view follows the picture box. `status` is set
    // to 0 on success.
    void Resize();
    void Resize(int& status);

    // Milliseconds between the last two presented frames (0 before the second).
    float GetFrameTime() const;
    // Milliseconds of a steady clock (wraps like the kernel tick count).
    static std::int32_t TickCount();

    // Writes the last presented frame as a BMP file (folders are not created).
    void SaveScreenshot(const QString& path);

    // Path of the engine library file itself.
    static QString GetDLLPath();

private:
    std::shared_ptr<kl::core::Context> context_;
};
