// The engine context: one per process, created by KLEngine and shared by every
// engine object. It composes the engine's state by concept and hands each part
// out; a new kind of engine state gets its own part here rather than fields:
//   settings()  — the recorded configuration calls (EngineSettings)
//   camera()    — the camera and its matrices (CameraState)
//   scene()     — clear colour, ambient, render modes, background (SceneState)
//   resources() — textures, materials, lights, fonts, meshes (ResourceStores)
//   atmosphere() — the sky box (AtmosphereState)
//   rendering() — the renderer bound to the view, frame and timing (RenderBinding)
//   landscape() — the landscapes and their terrain (LandscapeState)
// Besides those it keeps the debug log, the error policy (log, then throw) and
// the media search folder.
#pragma once

#include "core/AtmosphereState.h"
#include "core/CameraState.h"
#include "core/DebugLog.h"
#include "core/EngineSettings.h"
#include "core/LandscapeState.h"
#include "core/RenderBinding.h"
#include "core/ResourceStores.h"
#include "core/SceneState.h"
#include "gpu/RenderTypes.h"

#include <QString>

#include <memory>

namespace kl::core {

class Context {
public:
    Context();
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // The live context, created when none exists (KLEngine).
    static std::shared_ptr<Context> acquire();
    // The live context; throws KLERR_NOT_INITIALISED when no KLEngine was made.
    static std::shared_ptr<Context> current();

    EngineSettings& settings() { return settings_; }
    const EngineSettings& settings() const { return settings_; }
    CameraState& camera() { return camera_; }
    const CameraState& camera() const { return camera_; }
    SceneState& scene() { return scene_; }
    const SceneState& scene() const { return scene_; }
    ResourceStores& resources() { return resources_; }
    const ResourceStores& resources() const { return resources_; }
    AtmosphereState& atmosphere() { return atmosphere_; }
    const AtmosphereState& atmosphere() const { return atmosphere_; }
    RenderBinding& rendering() { return rendering_; }
    const RenderBinding& rendering() const { return rendering_; }
    LandscapeState& landscape() { return landscape_; }
    const LandscapeState& landscape() const { return landscape_; }

    // Logs and throws.
    [[noreturn]] void fail(int number, const QString& description);
    void log(const QString& line) { log_.write(line); }
    DebugLog& debugLog() { return log_; }

    // Media path against the search folder (case-insensitive match).
    QString resolve(const QString& path) const;
    void setSearchFolder(const QString& folder) { searchFolder_ = folder; }
    const QString& searchFolder() const { return searchFolder_; }

    // The attached renderer, or throws KLERR_NOT_INITIALISED naming `operation`.
    gpu::Renderer& requireRenderer(const QString& operation);
    // What the renderer needs for a frame: camera matrices for the current
    // viewport, eye position, ambient light and the lights (without specular
    // light when specular lighting is off).
    gpu::FrameState frameState() const;

    // Live KLEngine objects; the last one going detaches the renderer.
    int engineObjects = 0;

private:
    DebugLog log_;
    QString searchFolder_;
    EngineSettings settings_;
    CameraState camera_;
    SceneState scene_;
    ResourceStores resources_;
    LandscapeState landscape_;
    AtmosphereState atmosphere_;
    // Last, so the renderer goes first while the state it was drawing still exists.
    RenderBinding rendering_;
};

} // namespace kl::core
