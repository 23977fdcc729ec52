#pragma once

#include <glm/glm.hpp>

#include <string>
#include <vector>

namespace kl::models {

struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 uv{0.0f};
};

// One mesh of a model with one material. Coordinates are right-handed, y up,
// and triangles wind counter-clockwise seen from outside (the in-memory
// convention of the model library; the exporters convert where a format
// needs another). Texture v runs upwards: v = 1 is the top of the picture.
struct MeshPart {
    std::string name;
    glm::vec3 colour{0.8f};
    std::vector<Vertex> vertices;
    std::vector<glm::uvec3> triangles;
};

struct Model {
    std::vector<MeshPart> parts;
};

}  // namespace kl::models
