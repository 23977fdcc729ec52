// The model loader on any bytes: a model or an error, never both; a model's
// indices all name one of its vertices and its groups cover its indices.
#pragma once

#include "FuzzSupport.h"

#include "model/ModelLoader.h"

namespace fuzz {

inline void loadModel(const std::uint8_t* data, std::size_t size, kl::model::ModelKind kind)
{
    kl::model::LoadOptions options;
    options.generateNormals = size > 0 && (data[0] & 1) != 0;
    options.joinVertices = size > 0 && (data[0] & 2) != 0;
    const auto model = kl::model::loadModelData(bytesOf(data, size), kind, options, QStringLiteral("fuzz"));
    if (!model.ok()) {
        if (!model.geometry.vertices.empty() || !model.geometry.indices.empty())
            fail("a model load that failed returned geometry");
        return;
    }
    const auto& geometry = model.geometry;
    if (geometry.vertices.size() > kl::model::MaxModelVertices || geometry.indices.size() > kl::model::MaxModelIndices)
        fail("a model is larger than the vertex or index limit");
    for (const auto index : geometry.indices)
        if (index >= geometry.vertices.size())
            fail("a model index names no vertex");
    if (model.groups.size() != geometry.groups.size())
        fail("a model has a material per group");
    std::size_t covered = 0;
    for (const auto& group : geometry.groups)
        covered += group.indexCount;
    if (covered != geometry.indices.size())
        fail("a model's groups do not cover its indices");
}

} // namespace fuzz
