// Engine root, maths helpers, materials, lights, camera and input.
#include "EngineTestSupport.h"

#include "korlith3d/KLCamera.h"
#include "korlith3d/KLGlobals.h"
#include "korlith3d/KLInputEngine.h"
#include "korlith3d/KLLightEngine.h"
#include "korlith3d/KLMaterialFactory.h"
#include "korlith3d/KLMath.h"
#include "korlith3d/KLScene.h"

#include "input/InputWatcher.h"

#include <QFile>
#include <QKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

using kltest::EngineTest;

namespace {

TEST_F(EngineTest, DebugLogRecordsLinesAndFailures)
{
    engine->SetDebugFile(path("debugfile.txt"));
    engine->WriteToLog("hello from the tool");
    EXPECT_KLERROR(engine->Clear(false), KLERR_NOT_INITIALISED, "Clear");
    EXPECT_KLERROR(engine->RenderToScreen(), KLERR_NOT_INITIALISED, "RenderToScreen");
    QFile log(path("debugfile.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_TRUE(text.contains("hello from the tool"));
    EXPECT_TRUE(text.contains("Clear"));
    EXPECT_KLERROR(engine->SetDebugFile(path("no/such/folder/log.txt")), KLERR_FILE_ACCESS, "log.txt");
}

TEST_F(EngineTest, InitialisationFailsForAnUnknownWindow)
{
    engine->SetDebugFile(path("debug.txt"));
    EXPECT_FALSE(engine->Init3DWindowedMode(0x7fffffff, true));
    EXPECT_FALSE(engine->IsInitialised());
    QFile log(path("debug.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("Init3DWindowedMode"));
}

TEST_F(EngineTest, ConfigurationCallsAndLibraryFacts)
{
    engine->PreInit(-1, -1, 0);
    engine->SetTextureFilter(1);
    engine->SetVerticalSync(true);
    engine->ShowMouseCursor(true);
    engine->DisplayFPS(true);
    EXPECT_TRUE(engine->GetDisplayFPS());
    int w = 0, h = 0, d = 0;
    engine->GetViewportSize(w, h, d);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    const auto t0 = KLEngine::TickCount();
    QTest::qWait(20);
    EXPECT_GE(KLEngine::TickCount() - t0, 15);
    EXPECT_EQ(engine->GetFrameTime(), 0.0f);
}

TEST(KLMathTest, VectorHelpers)
{
    const KLMath math;
    EXPECT_NEAR(math.Deg2Rad(180), 3.14159265f, 1e-6);
    const D3DVECTOR n = math.VNormalize({3, 0, 4});
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
    const D3DVECTOR zero = math.VNormalize({0, 0, 0});
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_FALSE(std::isnan(zero.y));
    EXPECT_FLOAT_EQ(math.VDistance({1, 1, 1}, {4, 5, 1}), 5.0f);
    const D3DVECTOR c = math.VCross({1, 0, 0}, {0, 1, 0});
    EXPECT_FLOAT_EQ(c.z, 1.0f);
    const D3DVECTOR s = math.VSubtract(math.VAdd({1, 2, 3}, math.VScale({1, 1, 1}, 2)), {3, 4, 5});
    EXPECT_FLOAT_EQ(s.x + s.y + s.z, 0.0f);

    const KLGlobals globals;
    EXPECT_EQ(globals.PackedColor(255, 255, 204, 0), 0xFFFFCC00u);
    EXPECT_EQ(static_cast<std::int32_t>(globals.PackedColor(255, 255, 204, 0)), -13312);
    EXPECT_EQ(globals.PackedColor(300, -5, 0, 0), 0xFF000000u);
    const D3DCOLORVALUE colour = globals.DXColor(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_FLOAT_EQ(colour.a, 0.4f);
}

TEST_F(EngineTest, MaterialsByIdAndName)
{
    KLMaterialFactory materials;
    const int mat = materials.CreateMaterial("Mat1");
    const int bg = materials.CreateMaterial("BgMat");
    EXPECT_EQ(mat, 1);
    EXPECT_EQ(bg, 2);
    EXPECT_EQ(materials.CreateMaterial("Mat1"), mat);
    materials.SetAmbient(mat, 1.0f, 0.00390625f, 0.5f, 0.25f);
    materials.SetPower(mat, 12.5f);
    EXPECT_FLOAT_EQ(materials.GetAmbient(mat).g, 0.00390625f);
    EXPECT_FLOAT_EQ(materials.GetAmbient(mat).a, 0.25f);
    EXPECT_FLOAT_EQ(materials.GetPower(mat), 12.5f);
    EXPECT_EQ(KLGlobals().GetMat("BgMat"), bg);
    EXPECT_KLERROR(materials.SetDiffuse(7, 1, 1, 1, 1), KLERR_UNKNOWN_ID, "7");
    EXPECT_KLERROR(KLGlobals().GetMat("None"), KLERR_UNKNOWN_ID, "None");
}

TEST_F(EngineTest, LightsCountFromOneUpToEight)
{
    KLLightEngine lights;
    D3DLIGHT8 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Direction = {1, -1, 0};
    light.Range = 1000;
    EXPECT_EQ(lights.CreateLight(light, "Lys", false), 1);
    EXPECT_TRUE(lights.IsEnabled(1));
    lights.EnableLight(1, false);
    light.Type = D3DLIGHT_SPOT;
    lights.UpdateLight(1, light);
    EXPECT_FALSE(lights.IsEnabled(1));   // an update keeps the switch
    EXPECT_EQ(lights.GetLight(1).Type, D3DLIGHT_SPOT);
    lights.SetDirection(1, {0, 0, 1});
    EXPECT_FLOAT_EQ(lights.GetLight(1).Direction.z, 1.0f);
    for (int i = 2; i <= 8; ++i)
        EXPECT_EQ(lights.CreateLight(light, QStringLiteral("L%1").arg(i)), i);
    EXPECT_KLERROR(lights.CreateLight(light, "Ninth"), KLERR_INVALID_CALL, "Ninth");
    EXPECT_KLERROR(lights.UpdateLight(9, light), KLERR_UNKNOWN_ID, "9");
    EXPECT_KLERROR(lights.EnableLight(0, true), KLERR_UNKNOWN_ID, "0");
    EXPECT_EQ(lights.GetLightIndex("L5"), 5);
}

TEST_F(EngineTest, CameraOrbitsAboutItsTarget)
{
    KLScene scene;
    KLCamera camera;
    scene.SetCamera(0, 0, -10, 0, 0, 0);
    camera.Orbit(0, 0, 90, true);
    D3DVECTOR eye = camera.GetPosition();
    EXPECT_NEAR(std::hypot(eye.x, eye.z), 10, 1e-4);
    EXPECT_NEAR(eye.z, 0, 1e-4);
    camera.Orbit(4, 0, 0, true);
    eye = camera.GetPosition();
    EXPECT_NEAR(std::hypot(eye.x, eye.z), 6, 1e-4);
    camera.Orbit(100, 0, 0, true);   // never through the target
    eye = camera.GetPosition();
    EXPECT_NEAR(std::hypot(eye.x, std::hypot(eye.y, eye.z)), 1, 1e-4);
    camera.Orbit(0, 200, 0, true);   // kept short of straight above
    eye = scene.GetCameraPosition();
    EXPECT_LT(eye.y, 1.0f);
    EXPECT_GT(eye.y, 0.99f);
    EXPECT_KLERROR(camera.SetProjection(60, 0.5f, 1.0f), KLERR_INVALID_CALL, "SetProjection");
    camera.SetProjection(60, 30000, 1.0f);
}

TEST(InputWatcherTest, KeysByScanCodeAndMouseState)
{
    KLInputEngine input;
    QWidget widget;
    widget.resize(100, 100);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));

    QTest::keyPress(&widget, Qt::Key_Escape);
    EXPECT_TRUE(input.KeyDown(KLK_ESCAPE));
    QTest::keyRelease(&widget, Qt::Key_Escape);
    EXPECT_FALSE(input.KeyDown(KLK_ESCAPE));
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_W, 17}, {Qt::Key_A, 30}, {Qt::Key_S, 31}, {Qt::Key_D, 32},
                                            {Qt::Key_F12, 88}, {Qt::Key_PageUp, 201}, {Qt::Key_PageDown, 209},
                                            {Qt::Key_Up, 200}, {Qt::Key_5, 6}};
    for (const auto& [key, code] : keys) {
        QTest::keyPress(&widget, key);
        EXPECT_TRUE(input.KeyDown(code)) << code;
        QTest::keyRelease(&widget, key);
        EXPECT_FALSE(input.KeyDown(code)) << code;
    }

    // A wheel notch reaches the window and then the widget: it counts once.
    QWheelEvent notch(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget.windowHandle(), &notch);
    EXPECT_EQ(input.GetWheel(), 120);
    EXPECT_EQ(input.GetMouseState().wheel, 120);

    kl::input::InputWatcher watcher;
    watcher.mouseMoved({10, 10});
    watcher.mouseMoved({15, 7});
    watcher.mouseMoved({15, 7});   // the same event seen by a second receiver
    watcher.buttonEvent(Qt::RightButton, true);
    watcher.wheelTurned(120);
    EXPECT_EQ(watcher.takeMovement(), QPoint(5, -3));
    EXPECT_EQ(watcher.takeMovement(), QPoint(0, 0));
    EXPECT_TRUE(watcher.button(2));
    EXPECT_FALSE(watcher.button(1));
    EXPECT_EQ(watcher.wheel(), 120);
    watcher.releaseAll();
    EXPECT_FALSE(watcher.button(2));
}

// Key events posted together and handled in one pass, as when a frame takes
// longer than the key was held.
void deliverInOneBatch(QWidget& target, std::initializer_list<std::pair<QEvent::Type, Qt::Key>> events)
{
    for (const auto& [type, key] : events)
        QCoreApplication::postEvent(&target, new QKeyEvent(type, key, Qt::NoModifier));
    QCoreApplication::sendPostedEvents();
}

TEST(InputWatcherTest, KeyTappedBetweenPollsReadsAsDownOnce)
{
    KLInputEngine input;
    QWidget widget;

    deliverInOneBatch(widget, {{QEvent::KeyPress, Qt::Key_Escape}, {QEvent::KeyRelease, Qt::Key_Escape}});
    EXPECT_TRUE(input.KeyDown(KLK_ESCAPE));
    EXPECT_FALSE(input.KeyDown(KLK_ESCAPE));

    // Each key keeps its own tap: polling one does not consume another's.
    deliverInOneBatch(widget, {{QEvent::KeyPress, Qt::Key_W},
                               {QEvent::KeyRelease, Qt::Key_W},
                               {QEvent::KeyPress, Qt::Key_Escape},
                               {QEvent::KeyRelease, Qt::Key_Escape}});
    EXPECT_TRUE(input.KeyDown(KLK_W));
    EXPECT_FALSE(input.KeyDown(KLK_W));
    EXPECT_TRUE(input.KeyDown(KLK_ESCAPE));
    EXPECT_FALSE(input.KeyDown(KLK_ESCAPE));

    // Two taps between polls still read as one.
    deliverInOneBatch(widget, {{QEvent::KeyPress, Qt::Key_A},
                               {QEvent::KeyRelease, Qt::Key_A},
                               {QEvent::KeyPress, Qt::Key_A},
                               {QEvent::KeyRelease, Qt::Key_A}});
    EXPECT_TRUE(input.KeyDown(KLK_A));
    EXPECT_FALSE(input.KeyDown(KLK_A));
}

TEST(InputWatcherTest, HeldKeyReadsDownAtEveryPollUntilReleased)
{
    kl::input::InputWatcher watcher;
    watcher.keyEvent(Qt::Key_PageUp, true);
    EXPECT_TRUE(watcher.pollKey(KLK_PRIOR));
    EXPECT_TRUE(watcher.pollKey(KLK_PRIOR));
    watcher.keyEvent(Qt::Key_PageUp, false);
    EXPECT_FALSE(watcher.pollKey(KLK_PRIOR));

    // Focus lost while held: the key is up, but the press is still reported once.
    watcher.keyEvent(Qt::Key_Space, true);
    watcher.releaseAll();
    EXPECT_FALSE(watcher.keyHeld(KLK_SPACE));
    EXPECT_TRUE(watcher.pollKey(KLK_SPACE));
    EXPECT_FALSE(watcher.pollKey(KLK_SPACE));

    EXPECT_FALSE(watcher.pollKey(0));
    EXPECT_FALSE(watcher.pollKey(256));
    EXPECT_FALSE(watcher.pollKey(-1));
}

TEST(TypesLayout, DirectXRecordsKeepTheirLayout)
{
    EXPECT_EQ(sizeof(D3DLIGHT8), 104u);
    EXPECT_EQ(offsetof(D3DLIGHT8, Phi), 100u);
    const KLError error(53, "File not found: x.bmp");
    EXPECT_EQ(error.Number(), 53);
    EXPECT_STREQ(error.what(), "File not found: x.bmp");
}

} // namespace

namespace {

TEST(EngineLifetime, ObjectsReleasedInAnyOrderStaySafe)
{
    QTemporaryDir dir;
    auto engine = std::make_unique<KLEngine>();
    auto scene = std::make_unique<KLScene>();
    KLMesh mesh = scene->CreateMesh("kept");
    auto materials = std::make_unique<KLMaterialFactory>();
    const int id = materials->CreateMaterial("Mat1");

    // The tools release the engine root before or after the other objects.
    engine.reset();
    mesh.SetPosition(1, 2, 3);
    EXPECT_EQ(materials->GetMaterialId("Mat1"), id);
    scene.reset();
    materials.reset();
    // With every engine object gone the context is gone; the mesh says so.
    EXPECT_KLERROR(mesh.SetTexture(1), KLERR_NOT_INITIALISED, "kept");
    EXPECT_KLERROR(KLScene(), KLERR_NOT_INITIALISED, "KLEngine");

    // A new engine starts afresh: ids count from 1 again.
    KLEngine again;
    EXPECT_EQ(KLMaterialFactory().CreateMaterial("Other"), 1);
}

} // namespace
