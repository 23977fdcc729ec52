// Renders every generated model to PNG contact sheets for a visual check:
//   kl_model_preview <folder for the PNGs>
// Models are read as the engine reads them (left-handed, DirectX winding) and
// drawn with a small z-buffer rasteriser. Triangles seen from their back are
// painted magenta, so faces wound the wrong way show up at once.
#include "MeshChecks.h"
#include "shapes/ModelCatalog.h"

#include <assimp/postprocess.h>

#include <QImage>
#include <QPainter>

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <iostream>
#include <limits>
#include <vector>

namespace {

using kl::models::test::TriangleSoup;
namespace fs = std::filesystem;

constexpr int kCell = 260;

struct View {
    float yaw;    // degrees about y
    float pitch;  // degrees about x
};

void renderCell(QImage& image, int cellX, int cellY, const TriangleSoup& soup, View view)
{
    const glm::vec3 lo = kl::models::test::boundsMin(soup);
    const glm::vec3 hi = kl::models::test::boundsMax(soup);
    const glm::vec3 centre = (lo + hi) * 0.5f;
    const float radius = glm::length(hi - lo) * 0.5f;
    // Left-handed view: x right, y up, looking along +z from z = -distance.
    glm::mat4 turn = glm::rotate(glm::mat4(1.0f), glm::radians(view.pitch), glm::vec3(1, 0, 0)) *
                     glm::rotate(glm::mat4(1.0f), glm::radians(view.yaw), glm::vec3(0, 1, 0));
    const float distance = radius * 2.6f;
    const float focal = kCell * 1.1f;
    const glm::vec3 light = glm::normalize(glm::vec3(-0.5f, 0.7f, -0.6f));

    std::vector<glm::vec3> screen(soup.positions.size());
    std::vector<glm::vec3> normals(soup.positions.size());
    for (std::size_t i = 0; i < soup.positions.size(); ++i) {
        const glm::vec3 p = glm::vec3(turn * glm::vec4(soup.positions[i] - centre, 1.0f));
        const float z = p.z + distance;
        screen[i] = {cellX * kCell + kCell / 2.0f + focal * p.x / z,
                     cellY * kCell + kCell / 2.0f - focal * p.y / z, z};
        normals[i] = glm::normalize(glm::vec3(turn * glm::vec4(soup.normals[i], 0.0f)));
    }
    static std::vector<float> depth;
    depth.assign(static_cast<std::size_t>(kCell) * kCell, std::numeric_limits<float>::max());
    for (const auto& t : soup.triangles) {
        const glm::vec3 a = screen[t.x], b = screen[t.y], c = screen[t.z];
        // Image y runs down, so a clockwise triangle on screen (DirectX front
        // face) has a positive area here.
        const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::abs(area) < 1e-9f)
            continue;
        const bool front = area > 0.0f;
        const int x0 = std::max(cellX * kCell, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int x1 = std::min(cellX * kCell + kCell - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int y0 = std::max(cellY * kCell, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int y1 = std::min(cellY * kCell + kCell - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float w0 = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                const float w1 = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                const float w2 = 1.0f - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0)
                    continue;
                const float z = w0 * a.z + w1 * b.z + w2 * c.z;
                float& stored = depth[static_cast<std::size_t>((y - cellY * kCell) * kCell + (x - cellX * kCell))];
                if (z >= stored)
                    continue;
                stored = z;
                QRgb colour;
                if (!front) {
                    colour = qRgb(255, 0, 255);
                } else {
                    const glm::vec3 n = glm::normalize(w0 * normals[t.x] + w1 * normals[t.y] + w2 * normals[t.z]);
                    // Normals are in the same left-handed view frame; the
                    // viewer looks along +z, so a lit face has n.z < 0.
                    const float shade = 0.15f + 0.85f * std::max(0.0f, glm::dot(n, light));
                    const int g = static_cast<int>(std::min(255.0f, 40.0f + 215.0f * shade));
                    colour = qRgb(g, g, std::min(255, g + 10));
                }
                image.setPixel(x, y, colour);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output folder>\n";
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path models = out / "models";
    kl::models::writeAllModels(models);
    const auto catalog = kl::models::modelCatalog();
    const std::vector<View> views = {{0.0f, 0.0f}, {-35.0f, -20.0f}, {90.0f, 0.0f}};
    QImage sheet(kCell * static_cast<int>(views.size()), kCell * static_cast<int>(catalog.size()),
                 QImage::Format_RGB32);
    sheet.fill(qRgb(30, 40, 60));
    for (std::size_t row = 0; row < catalog.size(); ++row) {
        std::string error;
        const auto soup = kl::models::test::importFile(models / catalog[row].relativePath,
                                                       aiProcess_ConvertToLeftHanded, error);
        if (!soup) {
            std::cerr << catalog[row].relativePath << ": " << error << '\n';
            return 1;
        }
        for (std::size_t v = 0; v < views.size(); ++v)
            renderCell(sheet, static_cast<int>(v), static_cast<int>(row), *soup, views[v]);
        // One sheet per model as well, easier to look at.
        QImage single = sheet.copy(0, kCell * static_cast<int>(row), sheet.width(), kCell);
        const std::string name = fs::path(catalog[row].relativePath).filename().string();
        single.save(QString::fromStdString((out / (name + ".png")).string()));
        std::cout << catalog[row].relativePath << ": " << soup->positions.size() << " vertices, "
                  << soup->triangles.size() << " triangles\n";
    }
    sheet.save(QString::fromStdString((out / "all_models.png").string()));
    return 0;
}
