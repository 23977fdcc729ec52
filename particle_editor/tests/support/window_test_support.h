// Shared set-up of the window tests: a temporary program folder with the
// sample content, a registry store of its own, a scripted interaction
// service and a loaded main window driven frame by frame.
#pragma once

#include "ui/EmberlyScene.h"
#include "ui/PresetMenus.h"
#include "ui/frmMain.h"

#include <platform/Interaction.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace emberly::test {

class EmberlyWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and loads the main window without entering the loop; the window
    // counts as active unless `active` says otherwise.
    // `fileToOpen` as given on the command line, opened once the engine runs.
    void startWindow(const QString& fileToOpen = {});
    // Runs `frames` passes of the loop.
    void runFrames(int frames);

    template <class T>
    T* control(const QString& name) const
    {
        T* widget = form->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QString file(const QString& name) const { return folder.filePath(name); }
    int liveParticles(int emitter);
    QString debugLog() const;

    QTemporaryDir folder;
    QTemporaryDir registry;
    bool active = true;
    std::shared_ptr<platform::ScriptedInteraction> dialogs;
    std::unique_ptr<platform::ScopedInteraction> scopedDialogs;
    std::unique_ptr<frmMain> form;
    PresetMenus* presets = nullptr;   // owned by the form
};

// Copies media/, mesh/, presets.ini and Readme.txt of the built program folder.
void populateProgramFolder(const QString& folder);

} // namespace emberly::test
