// Test entry point for tests that need widgets or OpenGL: a QApplication lives
// for the whole run. Listing the tests needs no application. A dialog that a
// scripted interaction was not told to expect fails the running test.
#include "platform/Interaction.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    platform::ScriptedInteraction::setDefaultFailureHandler([](const QString& message) {
        ADD_FAILURE() << "dialog: " << message.toStdString();
    });
    std::unique_ptr<QApplication> app;
    if (!::testing::GTEST_FLAG(list_tests))
        app = std::make_unique<QApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
