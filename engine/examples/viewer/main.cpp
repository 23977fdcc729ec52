// klviewer: shows an X or 3DS model lit by one light.
//
//   klviewer <model file> [texture file] [--spheremap] [--bump <height map>]
//            [--orbit <yaw> <pitch>] [--screenshot <file.bmp>]
//
// Left-drag orbits the camera about the model, the wheel zooms, Escape quits.
// With --screenshot a few frames are drawn, the last is saved as BMP and the
// viewer ends.
#include <korlith3d/KLCamera.h>
#include <korlith3d/KLEngine.h>
#include <korlith3d/KLInputEngine.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/KLMesh.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLTextureFactory.h>

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Options {
    QString model;
    QString texture;
    QString screenshot;
    QString bump;
    bool sphereMap = false;
    float yaw = 30;
    float pitch = 25;
};

bool parseArguments(const QStringList& args, Options& options)
{
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--screenshot") && i + 1 < args.size()) {
            options.screenshot = args[++i];
        } else if (args[i] == QLatin1String("--bump") && i + 1 < args.size()) {
            options.bump = args[++i];
        } else if (args[i] == QLatin1String("--spheremap")) {
            options.sphereMap = true;
        } else if (args[i] == QLatin1String("--orbit") && i + 2 < args.size()) {
            options.yaw = args[++i].toFloat();
            options.pitch = std::clamp(args[++i].toFloat(), -89.0f, 89.0f);
        }
        else if (options.model.isEmpty())
            options.model = args[i];
        else if (options.texture.isEmpty())
            options.texture = args[i];
        else
            return false;
    }
    return !options.model.isEmpty();
}

// White, slightly shiny material so the light's shape shows.
int makeMaterial(KLMaterialFactory& materials)
{
    const int id = materials.CreateMaterial(QStringLiteral("ViewerWhite"));
    materials.SetAmbient(id, 1, 1, 1, 1);
    materials.SetDiffuse(id, 1, 1, 1, 1);
    materials.SetSpecular(id, 0.6f, 0.6f, 0.6f, 1);
    materials.SetEmissive(id, 0, 0, 0, 1);
    materials.SetPower(id, 24);
    return id;
}

// A directional light coming from the upper left, in front of the model.
D3DLIGHT8 frontLeftLight()
{
    D3DLIGHT8 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 1};
    light.Specular = {1, 1, 1, 1};
    light.Ambient = {0, 0, 0, 1};
    // Not along a cube diagonal, so the faces a box shows get different shades.
    const float x = 0.55f, y = -0.75f, z = 0.37f;
    const float length = std::sqrt(x * x + y * y + z * z);
    light.Direction = {x / length, y / length, z / length};
    light.Range = 1000;
    return light;
}

// Orbit camera about the model's centre.
struct Orbit {
    D3DVECTOR target;
    float distance = 10;
    float yaw = 0;     // degrees about the vertical axis
    float pitch = 15;  // degrees above the horizon

    D3DVECTOR eye() const
    {
        const float y = yaw * 3.14159265f / 180.0f;
        const float p = pitch * 3.14159265f / 180.0f;
        return {target.x - distance * std::cos(p) * std::sin(y), target.y + distance * std::sin(p),
                target.z - distance * std::cos(p) * std::cos(y)};
    }
};

int run(const Options& options)
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("klviewer - %1").arg(QFileInfo(options.model).fileName()));
    window.resize(800, 600);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* pictureBox = new QWidget(&window);
    pictureBox->setObjectName(QStringLiteral("Picture1"));
    layout->addWidget(pictureBox);
    window.show();

    KLEngine engine;
    if (!engine.Init3DWindowedMode(std::uintptr_t(pictureBox->winId()), true)) {
        std::fprintf(stderr, "klviewer: no OpenGL 3.3 view could be created\n");
        return 1;
    }
    engine.SetSearchFolder(QFileInfo(options.model).absolutePath());

    KLScene scene;
    KLTextureFactory textures;
    KLMaterialFactory materials;
    KLLightEngine lights;
    KLInputEngine input;
    KLCamera camera;

    KLMesh mesh = scene.CreateMesh(QStringLiteral("Model"));
    const QString path = QFileInfo(options.model).absoluteFilePath();
    if (path.endsWith(QLatin1String(".3ds"), Qt::CaseInsensitive))
        mesh.Load3DS(path, false, false, false, true, true);
    else
        mesh.LoadX(path, false, false);
    mesh.SetMaterial(makeMaterial(materials));
    if (!options.texture.isEmpty())
        mesh.SetTexture(textures.LoadTexture(QFileInfo(options.texture).absoluteFilePath(), QStringLiteral("Texture")));
    const int light = lights.CreateLight(frontLeftLight(), QStringLiteral("Key"));
    if (options.sphereMap)
        mesh.SetSphereMapping(true);
    if (!options.bump.isEmpty()) {
        const int bump = textures.LoadBumpTexture(QFileInfo(options.bump).absoluteFilePath(), QStringLiteral("Bump"));
        mesh.SetBumpMapping(true, bump, light);
    }
    scene.SetColor(0.15f, 0.17f, 0.22f);
    scene.SetAmbientLight(0.15f, 0.15f, 0.15f);

    D3DVECTOR lo, hi;
    mesh.GetBoundingBox(lo, hi);
    Orbit orbit;
    orbit.yaw = options.yaw;
    orbit.pitch = options.pitch;
    orbit.target = {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
    const float size = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z, 1e-3f});
    orbit.distance = size * 1.8f;
    camera.SetProjection(45, size * 100, size / 100);

    input.GetMouseState();   // start counting movement from here
    int lastWheel = input.GetWheel();
    int frames = 0;
    while (window.isVisible() && !input.KeyDown(KLK_ESCAPE)) {
        QApplication::processEvents();
        const KLMouseState mouse = input.GetMouseState();
        if (mouse.button1) {
            orbit.yaw -= float(mouse.dx) * 0.4f;
            orbit.pitch = std::clamp(orbit.pitch + float(mouse.dy) * 0.4f, -89.0f, 89.0f);
        }
        if (mouse.wheel != lastWheel) {
            orbit.distance *= std::pow(0.9f, float(mouse.wheel - lastWheel) / 120.0f);
            orbit.distance = std::clamp(orbit.distance, size * 0.2f, size * 20.0f);
            lastWheel = mouse.wheel;
        }
        const D3DVECTOR eye = orbit.eye();
        scene.SetCamera(eye.x, eye.y, eye.z, orbit.target.x, orbit.target.y, orbit.target.z);

        engine.Clear();
        scene.RenderAll(true);
        engine.RenderToScreen();
        if (!options.screenshot.isEmpty() && ++frames == 5) {
            engine.SaveScreenshot(options.screenshot);
            break;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Options options;
    if (!parseArguments(QApplication::arguments(), options)) {
        std::fprintf(stderr, "usage: klviewer <model file> [texture file] [--spheremap] [--bump <height map>]\n"
                             "                [--orbit <yaw> <pitch>] [--screenshot <file.bmp>]\n");
        return 2;
    }
    try {
        return run(options);
    } catch (const KLError& error) {
        std::fprintf(stderr, "klviewer: %s\n", error.what());
        if (options.screenshot.isEmpty())
            QMessageBox::critical(nullptr, QStringLiteral("klviewer"), QString::fromUtf8(error.what()));
        return 1;
    }
}
