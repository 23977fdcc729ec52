#include "ui/ClsPreRendering.h"

#include "ui/MdEngine.h"

#include <korlith3d/KLScene.h>

namespace landlume {

BakeServices engineBakeServices(const KLScene& scene, std::function<float(float x, float z)> heightAt)
{
    BakeServices services;
    services.heightAt = std::move(heightAt);
    services.rayTest = [&scene](std::span<const D3DVECTOR> starts, std::span<const D3DVECTOR> ends, int types,
                                std::vector<std::uint8_t>& hits) { hits = scene.RayTestBatchHits(starts, ends, types); };
    return services;
}

BakeOutcome ClsPreRendering::Draw_ShadowMap(MdEngine& engine, QImage& picture, const Display& display,
                                            float landWidth, float landHeight, float texWidth, float texHeight)
{
    SceneSettings& settings = engine.settings();
    BakeSetup setup;
    setup.landWidth = landWidth;
    setup.landHeight = landHeight;
    setup.texWidth = texWidth;
    setup.texHeight = texHeight;
    setup.alpha = settings.alpha;
    setup.landShadows = settings.landShadows;
    setup.objectShadows = settings.objectShadows;
    setup.direction = engine.lightRecord().Direction;
    setup.keepCoordinates = display.keepCoordinates;

    BakeServices services =
        engineBakeServices(engine.scene(), [&engine](float x, float z) { return engine.heightAt(x, z); });
    services.keepGoing = [&settings] { return settings.running && settings.generating; };
    services.pumpEvents = display.pumpEvents;
    services.progress = display.progress;
    services.repaint = display.repaint;
    return drawShadowMap(setup, services, picture, settings.shadowCoordinates);
}

} // namespace landlume
