// Shared set-up of the window tests: a temporary copy of the program folder
// the build generates (textures, models, the example map), a scripted
// interaction service, and the started frame window.
#pragma once

#include "ui/MDIMain.h"

#include <platform/Interaction.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace landlume::test {

// The program folder of the build tree (next to the tests folder).
QString builtProgramFolder();
// Copies the program folder's side files into `folder`.
void copyProgramFolder(const QString& folder);

class LandlumeWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and loads the frame window (without entering the loop), with
    // `mapToOpen` as given on the command line.
    void startWindow(const QString& mapToOpen = {});
    // Runs `count` passes of the frame loop.
    void frames(int count);

    template <class T>
    T* control(const QString& name) const
    {
        T* widget = frame->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QString text(const QString& name) const;
    void setText(const QString& name, const QString& value);
    // A click on a panel button's label.
    void click(const QString& labelName);
    QString file(const QString& name) const { return folder.filePath(name); }
    MdEngine& engine() { return frame->engine(); }
    SceneSettings& settings() { return frame->engine().settings(); }

    QTemporaryDir folder;
    std::shared_ptr<platform::ScriptedInteraction> dialogs;
    std::unique_ptr<platform::ScopedInteraction> scopedDialogs;
    std::unique_ptr<MDIMain> frame;
};

} // namespace landlume::test
