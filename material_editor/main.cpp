// Glazery, the material editor of the Korlith3D SDK.
#include "ui/Module1.h"

#include <platform/Application.h>
#include <platform/Paths.h>

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    platform::Application::setApplicationName("Glazery");
    return glazery::runGlazery(platform::programFolder());
}
