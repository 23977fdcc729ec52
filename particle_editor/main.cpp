// Emberly, the particle editor of the Korlith3D SDK.
#include "ui/Startup.h"

#include <platform/Application.h>
#include <platform/Paths.h>
#include <toolkit/EngineStartup.h>

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    toolkit::startLiveViewTool("Emberly");
    return emberly::runEmberly(platform::programFolder());
}
