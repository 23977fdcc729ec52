#pragma once

#include "MeshData.h"

#include <filesystem>

namespace kl::models {

enum class ModelFormat {
    DirectX,     // ".x", text form
    Studio3ds,   // ".3ds"
};

// Writes the model through Assimp's exporter. Throws std::runtime_error with
// the exporter's message when the file cannot be written.
void exportModel(const Model& model, ModelFormat format, const std::filesystem::path& file);

}  // namespace kl::models
