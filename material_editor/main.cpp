// Glazery, the material editor of the Korlith3D SDK.
#include "ui/Module1.h"

#include <platform/Application.h>
#include <platform/Paths.h>
#include <toolkit/EngineStartup.h>

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    toolkit::startLiveViewTool("Glazery");
    return glazery::runGlazery(platform::programFolder());
}
