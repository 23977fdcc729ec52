// Layerloom, the terrain texture generator of the Korlith3D SDK.
#include "ui/FrmMain.h"

#include <platform/Application.h>
#include <platform/Paths.h>
#include <toolkit/EngineStartup.h>

#include <QApplication>

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    toolkit::startLiveViewTool("Layerloom");
    layerloom::FrmMain form(platform::programFolder());
    if (!form.load())
        return 1;
    return QApplication::exec();
}
