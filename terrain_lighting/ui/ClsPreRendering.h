// The shadow computation on the engine: the bake of the lightmap picture with
// the scene's batch ray test, between turns of the window's events.
#pragma once

#include "core/ShadowBake.h"

#include <QImage>

#include <functional>

class KLScene;

namespace landlume {

class MdEngine;

// The height and ray-test services of a bake on the engine: the land's height
// and the scene's batch ray test.
BakeServices engineBakeServices(const KLScene& scene, std::function<float(float x, float z)> heightAt);

class ClsPreRendering {
public:
    // What the bake shows while it runs.
    struct Display {
        std::function<void(int x)> progress;
        std::function<void()> repaint;
        std::function<void()> pumpEvents;
        // False: the settings' coordinates are left as they are (a bake
        // whose points no one saves).
        bool keepCoordinates = true;
    };

    // Bakes the settings' shadow kinds under the light into `picture`, the
    // shadowed points into the settings' coordinates. The settings' running
    // and generating flags stop it.
    BakeOutcome Draw_ShadowMap(MdEngine& engine, QImage& picture, const Display& display, float landWidth,
                               float landHeight, float texWidth, float texHeight);
};

} // namespace landlume
