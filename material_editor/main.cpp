// Glazery, the material editor of the Korlith3D SDK.
#include "ui/Module1.h"

#include <platform/Application.h>
#include <platform/Paths.h>
#include <toolkit/EngineStartup.h>

#include <QStringList>
#include <QTextStream>

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    toolkit::startLiveViewTool("Glazery");
    // A file given on the command line (the desktop entry's %f) opens at start-up.
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() > 1) {
        QTextStream(stderr) << "Usage: glazery [FILE]\n";
        return 2;
    }
    return glazery::runGlazery(platform::programFolder(), 3.0, arguments.value(0));
}
