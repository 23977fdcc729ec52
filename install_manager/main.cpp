// Stewardex, the installation manager of the Korlith3D SDK.
#include "ui/Form1.h"

#include <platform/Application.h>
#include <platform/Paths.h>
#include <toolkit/Startup.h>

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    toolkit::startTool(QStringLiteral("Stewardex"));
    stewardex::Form1 form(platform::programFolder());
    form.load();
    return app.exec();
}
