// Shared set-up of the window tests: a temporary program folder with small
// generated side files, a scripted interaction service and a started main window.
#pragma once

#include "ui/Form1.h"
#include "ui/ObjectsPanel.h"
#include "ui/PreviewScene.h"
#include "ui/SettingsColumn.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <platform/Interaction.h>

#include <memory>

namespace glazery::test {

// Writes default.mkl (start-up texts), glazeryobjects.ini (the nine defaults),
// Readme.txt, the two default textures and nine tiny DirectX models.
void populateProgramFolder(const QString& folder);

// A tiny DirectX text model (a square of two triangles with normals and uv).
QByteArray tinyXModel();

QStringList readLines(const QString& path);

class GlazeryWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and loads the main window (without entering the loop), with
    // `fileToOpen` as given on the command line.
    void startWindow(const QString& fileToOpen = {});

    template <class T>
    T* control(const QString& name) const
    {
        T* widget = form->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QString folderPath() const { return folder.path(); }
    QString file(const QString& name) const { return folder.filePath(name); }
    PreviewScene& scene() { return form->scene(); }

    // Types into a box as the user does: focus, text, focus elsewhere.
    void typeInto(const QString& boxName, const QString& text);

    QTemporaryDir folder;
    std::shared_ptr<platform::ScriptedInteraction> dialogs;
    std::unique_ptr<platform::ScopedInteraction> scopedDialogs;
    std::unique_ptr<Form1> form;
};

} // namespace glazery::test
