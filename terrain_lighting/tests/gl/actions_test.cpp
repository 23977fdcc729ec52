// The frame window's parts behind the buttons and menus: the file dialogs
// they open, the settings boxes they read, and which part each control reaches.
#include "support/landlume_fixture.h"

#include "ui/FileDialogs.h"
#include "ui/SettingsBoxes.h"

#include <QAction>
#include <QWidget>

namespace landlume::test {
namespace {

using Kind = platform::ScriptedInteraction::Kind;

class Dialogs : public ::testing::Test {
protected:
    std::shared_ptr<platform::ScriptedInteraction> dialogs = std::make_shared<platform::ScriptedInteraction>();
    platform::ScopedInteraction scoped{dialogs};
};

TEST_F(Dialogs, SaveAddsTheExtensionUnlessTheNameEndsWithItInAnyCase)
{
    dialogs->expectSaveFile(QStringLiteral("/maps/valley"));
    dialogs->expectSaveFile(QStringLiteral("/maps/valley.LDM"));
    dialogs->expectSaveFile(QStringLiteral("/maps/valley.ldm.bak"));
    EXPECT_EQ(chooseFileToSave("Save LDM:", "LDM files(*.ldm)|*.ldm", "/maps", ".ldm"), "/maps/valley.ldm");
    EXPECT_EQ(chooseFileToSave("Save LDM:", "LDM files(*.ldm)|*.ldm", "/maps", ".ldm"), "/maps/valley.LDM");
    EXPECT_EQ(chooseFileToSave("Save LDM:", "LDM files(*.ldm)|*.ldm", "/maps", ".ldm"), "/maps/valley.ldm.bak.ldm");
    ASSERT_EQ(dialogs->calls().size(), 3u);
    const platform::ScriptedInteraction::Call& call = dialogs->calls().front();
    EXPECT_EQ(call.kind, Kind::SaveFile);
    EXPECT_EQ(call.file.title, "Save LDM:");
    EXPECT_EQ(call.file.filter, "LDM files(*.ldm)|*.ldm");
    EXPECT_EQ(call.file.initialFolder, "/maps");
}

TEST_F(Dialogs, CancelledOrEmptyChoicesGiveNoFile)
{
    dialogs->expectSaveFile(std::nullopt);
    dialogs->expectSaveFile(QString());
    dialogs->expectOpenFile(std::nullopt);
    dialogs->expectOpenFile(QString());
    dialogs->expectOpenFile(QStringLiteral("/t/height.bmp"));
    // An empty name must not come back as a bare extension.
    EXPECT_FALSE(chooseFileToSave("t", "f", {}, ".bmp"));
    EXPECT_FALSE(chooseFileToSave("t", "f", {}, ".bmp"));
    EXPECT_FALSE(chooseFileToOpen("t", "f", {}));
    EXPECT_FALSE(chooseFileToOpen("t", "f", {}));
    EXPECT_EQ(chooseFileToOpen("t", "f", {}), "/t/height.bmp");
    EXPECT_EQ(dialogs->calls().back().kind, Kind::OpenFile);
}

TEST_F(Dialogs, ABoxVectorStopsAtTheFirstBoxWithoutANumber)
{
    QWidget parent;
    const BoxArray boxes{new PanelBox(&parent, "Txt", 0, "1.5", false), new PanelBox(&parent, "Txt", 1, "-", false),
                         new PanelBox(&parent, "Txt", 2, "x", false)};
    dialogs->expectMsgBox(platform::vbOK, "Light direction Y: \"-\" is not a number. Nothing was changed.");
    EXPECT_FALSE(boxVector(boxes, "Light direction"));
    // One warning only: the Z box is not read once Y failed.
    ASSERT_EQ(dialogs->calls().size(), 1u);
    EXPECT_EQ(dialogs->calls()[0].title, kInvalidSettingsTitle);
    EXPECT_EQ(dialogs->calls()[0].style, platform::vbExclamation);

    boxes[1]->setText("-2");
    boxes[2]->setText("0.25");
    const std::optional<D3DVECTOR> v = boxVector(boxes, "Light direction");
    ASSERT_TRUE(v);
    EXPECT_FLOAT_EQ(v->x, 1.5f);
    EXPECT_FLOAT_EQ(v->y, -2.0f);
    EXPECT_FLOAT_EQ(v->z, 0.25f);
    EXPECT_EQ(dialogs->calls().size(), 1u);
}

class Wiring : public LandlumeWindowTest {};

// Each control opens its own action's dialog, on its own folder.
TEST_F(Wiring, EveryFileControlOpensItsOwnDialog)
{
    startWindow();
    const struct {
        const char* control;
        Kind kind;
        const char* title;
        QString folder;
    } expected[] = {
        {"LblLoadHeight", Kind::OpenFile, "Open heightmap:", QString()},
        {"LblLoadLight", Kind::OpenFile, "Open lightmap:", file("Textures/Landscape")},
        {"LblSaveMap", Kind::SaveFile, "Save lightmap:", file("Textures/Landscape")},
        {"LblSaveCoords", Kind::SaveFile, "Save shadow coordinates:", QString()},
        {"LblLoadObject", Kind::OpenFile, "Load object:", QString()},
        {"mnuOpen", Kind::OpenFile, "Open LDM:", file("Maps")},
        {"mnuSave", Kind::SaveFile, "Save LDM:", file("Maps")},
    };
    for (const auto& e : expected) {
        if (e.kind == Kind::OpenFile)
            dialogs->expectOpenFile(std::nullopt);
        else
            dialogs->expectSaveFile(std::nullopt);
        const QString name = QString::fromLatin1(e.control);
        if (name.startsWith("mnu"))
            control<QAction>(name)->trigger();
        else
            click(name);
    }
    ASSERT_EQ(dialogs->calls().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& call = dialogs->calls()[i];
        EXPECT_EQ(call.kind, expected[i].kind) << expected[i].control;
        EXPECT_EQ(call.file.title, expected[i].title) << expected[i].control;
        EXPECT_EQ(QDir::cleanPath(call.file.initialFolder), QDir::cleanPath(expected[i].folder)) << expected[i].control;
    }
    // Nothing cancelled changed the scene.
    EXPECT_EQ(engine().objectCount(), 0);
    EXPECT_FLOAT_EQ(settings().texWidth, 512.0f);
}

TEST_F(Wiring, AlphaApplyKeepsTheValueForTextThatIsNoNumber)
{
    startWindow();
    setText("TxtShadowSet_2", "0.7");
    click("LblApplyAlpha");
    EXPECT_FLOAT_EQ(settings().alpha, 0.7f);
    setText("TxtShadowSet_2", "0.7.1");
    click("LblApplyAlpha");
    EXPECT_FLOAT_EQ(settings().alpha, 0.7f);
    // The lightmap size boxes reach the picture through the same panel.
    setText("TxtShadowSet_0", "128");
    setText("TxtShadowSet_1", "256");
    click("LblApplyShadow");
    EXPECT_EQ(frame->lightmapWindow()->picture()->image().size(), QSize(128, 256));
    EXPECT_FLOAT_EQ(settings().texHeight, 256.0f);
}

} // namespace
} // namespace landlume::test
