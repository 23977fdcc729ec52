// Frames per second of the material editor's preview scene: camera, field of
// view, object placement and light as the editor sets them up, a textured object
// with diffuse and specular colour, the background picture and one line of text,
// beside the rate of an empty frame (clear + present) of the same size measured
// in the same run, and their ratio.
//   engine_fps [model file] [seconds]
// Without a model (or when it cannot be read) a generated sphere stands in.
#include "gpu/Renderer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QWidget>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>

using namespace kl::gpu;

namespace {

MeshGeometry sphere(int slices, int stacks)
{
    MeshGeometry mesh;
    mesh.id = 1;
    for (int j = 0; j <= stacks; ++j) {
        const float polar = float(j) / float(stacks) * glm::pi<float>();
        for (int i = 0; i <= slices; ++i) {
            const float azimuth = float(i) / float(slices) * glm::two_pi<float>();
            Vertex v;
            v.normal = glm::vec3(std::sin(polar) * std::sin(azimuth), std::cos(polar),
                                 -std::sin(polar) * std::cos(azimuth));
            v.position = v.normal * 10.0f;
            v.uv = glm::vec2(float(i) / float(slices), float(j) / float(stacks));
            mesh.vertices.push_back(v);
        }
    }
    const auto row = std::uint32_t(slices + 1);
    for (std::uint32_t j = 0; j < std::uint32_t(stacks); ++j)
        for (std::uint32_t i = 0; i < std::uint32_t(slices); ++i) {
            const std::uint32_t a = j * row + i, b = a + 1, c = a + row, d = c + 1;
            mesh.indices.insert(mesh.indices.end(), {a, b, c, b, d, c});
        }
    return mesh;
}

// Every mesh of the file in one geometry, at the file's own size (the preview
// objects are modelled about 20 units across and shown at scale 1).
bool loadModel(const char* path, MeshGeometry& mesh)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(
        path, aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_JoinIdenticalVertices |
                  aiProcess_PreTransformVertices | aiProcess_MakeLeftHanded | aiProcess_FlipUVs);
    if (!scene || scene->mNumMeshes == 0)
        return false;
    mesh = MeshGeometry{};
    mesh.id = 1;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* src = scene->mMeshes[m];
        const auto base = std::uint32_t(mesh.vertices.size());
        for (unsigned i = 0; i < src->mNumVertices; ++i) {
            Vertex v;
            v.position = glm::vec3(src->mVertices[i].x, src->mVertices[i].y, src->mVertices[i].z);
            if (src->HasNormals())
                v.normal = glm::vec3(src->mNormals[i].x, src->mNormals[i].y, src->mNormals[i].z);
            if (src->HasTextureCoords(0))
                v.uv = glm::vec2(src->mTextureCoords[0][i].x, src->mTextureCoords[0][i].y);
            mesh.vertices.push_back(v);
        }
        for (unsigned f = 0; f < src->mNumFaces; ++f)
            if (src->mFaces[f].mNumIndices == 3)
                for (int k = 0; k < 3; ++k)
                    mesh.indices.push_back(base + src->mFaces[f].mIndices[k]);
    }
    return !mesh.indices.empty();
}

// The preview objects' fabric stand-in: a checker of two colours.
TextureData fabricTexture()
{
    TextureData t;
    t.id = 3;
    t.image = QImage(256, 256, QImage::Format_ARGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            t.image.setPixel(x, y, ((x / 32 + y / 32) % 2) ? qRgb(200, 190, 170) : qRgb(120, 60, 50));
    return t;
}

TextureData backgroundPicture()
{
    TextureData t;
    t.id = 2;
    t.image = QImage(512, 512, QImage::Format_ARGB32);
    QPainter painter(&t.image);
    QLinearGradient gradient(0, 0, 512, 512);
    gradient.setColorAt(0, QColor(60, 70, 90));
    gradient.setColorAt(1, QColor(150, 140, 120));
    painter.fillRect(t.image.rect(), gradient);
    return t;
}

struct Rate {
    double fps = 0;
    double cpuMs = 0;   // processor time of all threads per frame (the software rasteriser's included)
    long frames = 0;
};

// Frames per second of clear, `draw`, present for `seconds`, after ten warm-up
// frames (shader compiles and uploads). Processor time is printed too: on a
// shared machine the wall-clock rate depends on the other load, it does not.
template <typename Draw>
std::optional<Rate> measure(Renderer& renderer, double seconds, Draw draw)
{
    QElapsedTimer clock;
    std::clock_t cpuStart = 0;
    long frames = 0;
    while (true) {
        if (frames == 10) {
            clock.start();
            cpuStart = std::clock();
        }
        QApplication::processEvents();
        if (!renderer.beginFrame(glm::vec4(0, 0, 0, 1)))
            return std::nullopt;
        draw();
        renderer.present();
        ++frames;
        if (clock.isValid() && clock.elapsed() >= seconds * 1000.0)
            break;
    }
    Rate rate;
    rate.frames = frames - 10;
    rate.fps = double(rate.frames) / (double(clock.nsecsElapsed()) / 1e9);
    rate.cpuMs = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC / double(rate.frames);
    return rate;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const char* modelPath = argc > 1 ? argv[1] : nullptr;
    const double seconds = argc > 2 ? std::atof(argv[2]) : 5.0;

    MeshGeometry mesh;
    const bool loaded = modelPath && loadModel(modelPath, mesh);
    if (!loaded)
        mesh = sphere(64, 32);

    QWidget window;
    window.resize(800, 600);
    window.show();
    QString error;
    Renderer renderer;
    if (!renderer.attach(window.winId(), error)) {
        std::fprintf(stderr, "engine_fps: %s\n", qPrintable(error));
        return 1;
    }
    QApplication::processEvents();
    renderer.setTextureFilter(TextureFilter::Bilinear);   // what the editor asks for

    const TextureData background = backgroundPicture();
    FrameState frame;
    frame.eyePosition = glm::vec3(0, 50, -30);
    frame.view = glm::lookAtLH(frame.eyePosition, glm::vec3(0, 50, 0), glm::vec3(0, 1, 0));
    frame.projection = glm::perspectiveLH_NO(glm::radians(50.0f), 800.0f / 600.0f, 1.0f, 10000.0f);
    frame.ambient = glm::vec4(0.25f, 0.25f, 0.25f, 1);
    LightState light;
    light.type = LightType::Directional;
    light.direction = glm::vec3(1, -1, 0);
    frame.lights = {light};

    const TextureData fabric = fabricTexture();
    DrawItem item;
    item.mesh = &mesh;
    item.baseTexture = &fabric;
    item.material.ambient = glm::vec4(0.2f, 0.2f, 0.2f, 1);
    item.material.diffuse = glm::vec4(0.8f, 0.3f, 0.2f, 1);
    item.material.specular = glm::vec4(1, 1, 1, 1);
    item.material.power = 20;
    // Direct3D's default culling (counter-clockwise triangles dropped); the
    // generated sphere and loaded left-handed models are clockwise in front.
    item.cull = CullMode::CounterClockwise;

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    float angle = 0;
    const auto drawScene = [&] {
        renderer.drawBackground(background);
        angle += 0.01f;
        item.world = glm::rotate(glm::translate(glm::mat4(1), glm::vec3(0, 50, 0)), angle, glm::vec3(0.3f, 1, 0.1f));
        renderer.drawItems(frame, {&item, 1});
        renderer.drawText(font, QStringLiteral("engine_fps"), 5, 5, 0xFFFFFFFFu);
    };
    const std::optional<Rate> empty = measure(renderer, seconds, [] {});
    const std::optional<Rate> scene = measure(renderer, seconds, drawScene);
    if (!empty || !scene) {
        std::fprintf(stderr, "engine_fps: %s\n", qPrintable(renderer.lastError()));
        return 1;
    }
    std::printf("engine_fps: %s, %zu triangles, 800x600, %s\n", loaded ? modelPath : "generated sphere",
                mesh.indices.size() / 3, qPrintable(renderer.glRenderer()));
    std::printf("engine_fps: empty frame (clear + present): %.1f frames per second (%.3f ms, %.3f ms processor)\n",
                empty->fps, 1000.0 / empty->fps, empty->cpuMs);
    std::printf("engine_fps: preview scene: %.1f frames per second (%.3f ms, %.3f ms processor, %ld frames)\n",
                scene->fps, 1000.0 / scene->fps, scene->cpuMs, scene->frames);
    std::printf("engine_fps: preview scene / empty frame: %.3f\n", scene->fps / empty->fps);
    return 0;
}
