// The classic Bezier-patch teapot (public-domain patch data, z up, the
// quarter patches of the rotationally symmetric parts and the half patches
// of handle and spout; the rest follows by mirroring).
#include "MeshBuilder.h"
#include "Shapes.h"

#include <glm/gtc/matrix_transform.hpp>

#include <array>

namespace kl::models {

namespace {

using Patch = std::array<int, 16>;

// Rim, body (2), lid (2), bottom: mirrored into all four quadrants.
// Handle (2), spout (2): mirrored across the y = 0 plane only.
constexpr std::array<Patch, 10> kPatches = {{
    {102, 103, 104, 105, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
    {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27},
    {24, 25, 26, 27, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40},
    {96, 96, 96, 96, 97, 98, 99, 100, 101, 101, 101, 101, 0, 1, 2, 3},
    {0, 1, 2, 3, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117},
    {118, 118, 118, 118, 124, 122, 119, 121, 123, 126, 125, 120, 40, 39, 38, 37},
    {41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56},
    {53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 28, 65, 66, 67},
    {68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83},
    {80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95},
}};
constexpr std::size_t kFourWayPatches = 6;

constexpr std::array<std::array<float, 3>, 127> kControlPoints = {{
    {0.2f, 0.0f, 2.7f}, {0.2f, -0.112f, 2.7f}, {0.112f, -0.2f, 2.7f}, {0.0f, -0.2f, 2.7f},
    {1.3375f, 0.0f, 2.53125f}, {1.3375f, -0.749f, 2.53125f}, {0.749f, -1.3375f, 2.53125f},
    {0.0f, -1.3375f, 2.53125f}, {1.4375f, 0.0f, 2.53125f}, {1.4375f, -0.805f, 2.53125f},
    {0.805f, -1.4375f, 2.53125f}, {0.0f, -1.4375f, 2.53125f}, {1.5f, 0.0f, 2.4f},
    {1.5f, -0.84f, 2.4f}, {0.84f, -1.5f, 2.4f}, {0.0f, -1.5f, 2.4f}, {1.75f, 0.0f, 1.875f},
    {1.75f, -0.98f, 1.875f}, {0.98f, -1.75f, 1.875f}, {0.0f, -1.75f, 1.875f},
    {2.0f, 0.0f, 1.35f}, {2.0f, -1.12f, 1.35f}, {1.12f, -2.0f, 1.35f}, {0.0f, -2.0f, 1.35f},
    {2.0f, 0.0f, 0.9f}, {2.0f, -1.12f, 0.9f}, {1.12f, -2.0f, 0.9f}, {0.0f, -2.0f, 0.9f},
    {-2.0f, 0.0f, 0.9f}, {2.0f, 0.0f, 0.45f}, {2.0f, -1.12f, 0.45f}, {1.12f, -2.0f, 0.45f},
    {0.0f, -2.0f, 0.45f}, {1.5f, 0.0f, 0.225f}, {1.5f, -0.84f, 0.225f},
    {0.84f, -1.5f, 0.225f}, {0.0f, -1.5f, 0.225f}, {1.5f, 0.0f, 0.15f},
    {1.5f, -0.84f, 0.15f}, {0.84f, -1.5f, 0.15f}, {0.0f, -1.5f, 0.15f},
    {-1.6f, 0.0f, 2.025f}, {-1.6f, -0.3f, 2.025f}, {-1.5f, -0.3f, 2.25f},
    {-1.5f, 0.0f, 2.25f}, {-2.3f, 0.0f, 2.025f}, {-2.3f, -0.3f, 2.025f},
    {-2.5f, -0.3f, 2.25f}, {-2.5f, 0.0f, 2.25f}, {-2.7f, 0.0f, 2.025f},
    {-2.7f, -0.3f, 2.025f}, {-3.0f, -0.3f, 2.25f}, {-3.0f, 0.0f, 2.25f},
    {-2.7f, 0.0f, 1.8f}, {-2.7f, -0.3f, 1.8f}, {-3.0f, -0.3f, 1.8f}, {-3.0f, 0.0f, 1.8f},
    {-2.7f, 0.0f, 1.575f}, {-2.7f, -0.3f, 1.575f}, {-3.0f, -0.3f, 1.35f},
    {-3.0f, 0.0f, 1.35f}, {-2.5f, 0.0f, 1.125f}, {-2.5f, -0.3f, 1.125f},
    {-2.65f, -0.3f, 0.9375f}, {-2.65f, 0.0f, 0.9375f}, {-2.0f, -0.3f, 0.9f},
    {-1.9f, -0.3f, 0.6f}, {-1.9f, 0.0f, 0.6f}, {1.7f, 0.0f, 1.425f}, {1.7f, -0.66f, 1.425f},
    {1.7f, -0.66f, 0.6f}, {1.7f, 0.0f, 0.6f}, {2.6f, 0.0f, 1.425f}, {2.6f, -0.66f, 1.425f},
    {3.1f, -0.66f, 0.825f}, {3.1f, 0.0f, 0.825f}, {2.3f, 0.0f, 2.1f}, {2.3f, -0.25f, 2.1f},
    {2.4f, -0.25f, 2.025f}, {2.4f, 0.0f, 2.025f}, {2.7f, 0.0f, 2.4f}, {2.7f, -0.25f, 2.4f},
    {3.3f, -0.25f, 2.4f}, {3.3f, 0.0f, 2.4f}, {2.8f, 0.0f, 2.475f}, {2.8f, -0.25f, 2.475f},
    {3.525f, -0.25f, 2.49375f}, {3.525f, 0.0f, 2.49375f}, {2.9f, 0.0f, 2.475f},
    {2.9f, -0.15f, 2.475f}, {3.45f, -0.15f, 2.5125f}, {3.45f, 0.0f, 2.5125f},
    {2.8f, 0.0f, 2.4f}, {2.8f, -0.15f, 2.4f}, {3.2f, -0.15f, 2.4f}, {3.2f, 0.0f, 2.4f},
    {0.0f, 0.0f, 3.15f}, {0.8f, 0.0f, 3.15f}, {0.8f, -0.45f, 3.15f}, {0.45f, -0.8f, 3.15f},
    {0.0f, -0.8f, 3.15f}, {0.0f, 0.0f, 2.85f}, {1.4f, 0.0f, 2.4f}, {1.4f, -0.784f, 2.4f},
    {0.784f, -1.4f, 2.4f}, {0.0f, -1.4f, 2.4f}, {0.4f, 0.0f, 2.55f}, {0.4f, -0.224f, 2.55f},
    {0.224f, -0.4f, 2.55f}, {0.0f, -0.4f, 2.55f}, {1.3f, 0.0f, 2.55f}, {1.3f, -0.728f, 2.55f},
    {0.728f, -1.3f, 2.55f}, {0.0f, -1.3f, 2.55f}, {1.3f, 0.0f, 2.4f}, {1.3f, -0.728f, 2.4f},
    {0.728f, -1.3f, 2.4f}, {0.0f, -1.3f, 2.4f}, {0.0f, 0.0f, 0.0f}, {1.425f, -0.798f, 0.0f},
    {1.5f, 0.0f, 0.075f}, {1.425f, 0.0f, 0.0f}, {0.798f, -1.425f, 0.0f},
    {0.0f, -1.5f, 0.075f}, {0.0f, -1.425f, 0.0f}, {1.5f, -0.84f, 0.075f},
    {0.84f, -1.5f, 0.075f},
}};

constexpr int kPatchSteps = 12;

using ControlGrid = std::array<std::array<glm::vec3, 4>, 4>;  // [row j][column k]

glm::vec4 bernstein(float t)
{
    const float s = 1.0f - t;
    return {s * s * s, 3.0f * t * s * s, 3.0f * t * t * s, t * t * t};
}

glm::vec3 evaluate(const ControlGrid& grid, float u, float v)
{
    const glm::vec4 bu = bernstein(u);
    const glm::vec4 bv = bernstein(v);
    glm::vec3 p(0.0f);
    for (int j = 0; j < 4; ++j)
        for (int k = 0; k < 4; ++k)
            p += grid[j][k] * (bv[j] * bu[k]);
    return p;
}

// Control grid of one patch; mirrored copies reverse the column order so the
// mirrored patch keeps the winding of the original.
ControlGrid controlGrid(const Patch& patch, bool mirrorX, bool mirrorY)
{
    const bool reverse = mirrorX != mirrorY;
    ControlGrid grid{};
    for (int j = 0; j < 4; ++j) {
        for (int k = 0; k < 4; ++k) {
            const auto& c = kControlPoints[static_cast<std::size_t>(
                patch[static_cast<std::size_t>(j * 4 + (reverse ? 3 - k : k))])];
            grid[j][k] = {mirrorX ? -c[0] : c[0], mirrorY ? -c[1] : c[1], c[2]};
        }
    }
    return grid;
}

void addPatch(MeshPart& part, const ControlGrid& grid)
{
    addSurface(part, kPatchSteps, kPatchSteps,
               [&](float u, float v) { return Vertex{evaluate(grid, u, v), {}, {u, v}}; },
               false);
}

}  // namespace

Model makeTeapot()
{
    MeshPart part;
    part.name = "Teapot";
    for (std::size_t i = 0; i < kPatches.size(); ++i) {
        addPatch(part, controlGrid(kPatches[i], false, false));
        addPatch(part, controlGrid(kPatches[i], false, true));
        if (i < kFourWayPatches) {
            addPatch(part, controlGrid(kPatches[i], true, false));
            addPatch(part, controlGrid(kPatches[i], true, true));
        }
    }
    // The lid ends at radius 1.3 and the rim begins at 1.4: close that ring
    // so the view cannot fall into the pot between them.
    MeshPart ledge;
    addAnnulus(ledge, 1.3f, 1.4f, 2.4f, true, 48);
    transformPart(ledge, glm::rotate(glm::mat4(1.0f), glm::half_pi<float>(),
                                     glm::vec3(1.0f, 0.0f, 0.0f)));  // y up to z up
    appendPart(part, ledge);
    smoothNormals(part, 60.0f);

    Model model;
    model.parts.push_back(std::move(part));
    // z up to y up, spout towards +x, about 20 units from handle to spout.
    const glm::mat4 zUpToYUp = glm::rotate(glm::mat4(1.0f), -glm::half_pi<float>(),
                                           glm::vec3(1.0f, 0.0f, 0.0f));
    transformModel(model, glm::scale(glm::mat4(1.0f), glm::vec3(3.0f)) * zUpToYUp);
    centreModel(model);
    return model;
}

}  // namespace kl::models
