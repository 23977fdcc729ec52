// The preview scene's verbs: waiting for the engine, engine failures, and
// loading the preview objects into their slots.
#include "support/window_test_support.h"

#include <QFile>

#include <platform/RuntimeError.h>

namespace glazery::test {
namespace {

using Scene = GlazeryWindowTest;

TEST_F(Scene, VerbsWaitForTheEngineAndTheShownObjectIsRemembered)
{
    PreviewScene idle(folderPath());
    EXPECT_FALSE(idle.ready());
    EXPECT_TRUE(idle.released());
    idle.setMaterialGroup(Group::Ambient, {1, 0, 0, 1});
    idle.setLight(D3DLIGHT8{});
    idle.setBumpMapping(true);
    idle.showObject(4);
    EXPECT_EQ(idle.shownObject(), 4);
    EXPECT_TRUE(idle.loadObjects(defaultPreviewObjects()).isEmpty());
    EXPECT_TRUE(idle.previewMesh(0).IsNull());
}

TEST_F(Scene, EngineFailuresKeepTheirNumberAndDescription)
{
    startWindow();
    QFile junk(file("junk.jpg"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    try {
        scene().loadFabricTexture(file("junk.jpg"));
        FAIL() << "a picture that cannot be read was taken";
    } catch (const SceneError& error) {
        EXPECT_EQ(error.number, KLERR_BAD_FILE_FORMAT);
        EXPECT_TRUE(error.description.contains("junk.jpg")) << error.description.toStdString();
    }
    // Step by step, the same number is seen.
    platform::StepByStep steps;
    EXPECT_EQ(steps.step([&] { scene().loadBackTexture(file("missing.jpg")); }), KLERR_FILE_NOT_FOUND);
}

TEST_F(Scene, LoadingObjectsReportsEachFailureAndFillsTheOtherSlots)
{
    startWindow();
    const KLMesh cube = scene().previewMesh(2);
    QList<PreviewObject> objects = defaultPreviewObjects().mid(0, 3);
    objects[1].fileName = "data\\models\\Nothing.X";
    objects[2].scale = 2.0;
    const QStringList failures = scene().loadObjects(objects);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("Nothing.X")) << failures[0].toStdString();
    // A filled slot keeps its mesh and takes the new scale and the material.
    EXPECT_EQ(scene().previewMesh(2), cube);
    EXPECT_FLOAT_EQ(scene().previewMesh(2).GetScale().x, 2.0f);
    EXPECT_EQ(scene().previewMesh(2).GetMaterial(), scene().materialId());
    EXPECT_FALSE(scene().previewMesh(2).IsVisible());
}

TEST_F(Scene, AnEmptySlotGetsANamedHiddenMesh)
{
    QFile list(file("glazeryobjects.ini"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(objectsListContent(defaultPreviewObjects().mid(0, 2)));
    list.close();
    startWindow();
    ASSERT_TRUE(scene().previewMesh(5).IsNull());
    EXPECT_FALSE(control<QWidget>("optObjects_5")->isEnabled());

    scene().loadObject(5, {"data\\models\\Torus.X", "Ring", 0.5});
    const KLMesh& ring = scene().previewMesh(5);
    ASSERT_FALSE(ring.IsNull());
    EXPECT_EQ(ring.GetName(), "Ring");
    EXPECT_FALSE(ring.IsVisible());
    EXPECT_GT(ring.GetVertexCount(), 0);
    EXPECT_FLOAT_EQ(ring.GetScale().z, 0.5f);
    EXPECT_EQ(ring.GetTexture(), scene().previewMesh(0).GetTexture());

    // The one on show stays visible when its slot is filled.
    scene().showObject(6);
    scene().loadObject(6, {"data\\models\\Tube.X", "Pipe", 1.0});
    EXPECT_TRUE(scene().previewMesh(6).IsVisible());
    EXPECT_FALSE(scene().previewMesh(0).IsVisible());
}

} // namespace
} // namespace glazery::test
