#pragma once

#include "MeshData.h"
#include "ModelExport.h"

#include <filesystem>
#include <span>

namespace kl::models {

// One generated model file, relative to the root of the program folders.
struct ModelFile {
    const char* relativePath;
    ModelFormat format;
    Model (*build)();
};

std::span<const ModelFile> modelCatalog();

// Builds every model and writes it below root (folders are created).
void writeAllModels(const std::filesystem::path& root);

}  // namespace kl::models
