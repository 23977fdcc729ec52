// Landlume, the terrain lightmap tool of the Korlith3D SDK.
#include "ui/MDIMain.h"

#include <platform/Application.h>
#include <platform/Paths.h>
#include <toolkit/EngineStartup.h>

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    toolkit::startLiveViewTool(QStringLiteral("Landlume"));
    landlume::MDIMain frame(platform::programFolder());
    return frame.load(true) ? 0 : 1;
}
