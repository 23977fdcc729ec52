// Test entry point for tests that need widgets or OpenGL: a QApplication lives
// for the whole run. Listing the tests needs no application. A dialog that a
// scripted interaction was not told to expect fails the running test.
#include "platform/Interaction.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <memory>

namespace {

// Mesa's GL libraries are loaded and unloaded at run time. Once unloaded, their
// thread-local storage leaves stale entries that LeakSanitizer's exit-time scan
// trips over, and their allocations lose the module names the suppression list
// matches. Keeping them loaded for the whole run avoids both.
void pinOpenGlDrivers()
{
    const char* const libraries[] = {
        "libGLX_mesa.so.0",
        "libEGL_mesa.so.0",
        "libglapi.so.0",
        "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
        "/usr/lib/aarch64-linux-gnu/dri/swrast_dri.so",
        "/usr/lib/dri/swrast_dri.so",
    };
    for (const char* library : libraries)
        dlopen(library, RTLD_LAZY | RTLD_NODELETE);
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    pinOpenGlDrivers();
    platform::ScriptedInteraction::setDefaultFailureHandler([](const QString& message) {
        ADD_FAILURE() << "dialog: " << message.toStdString();
    });
    std::unique_ptr<QApplication> app;
    if (!::testing::GTEST_FLAG(list_tests))
        app = std::make_unique<QApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
