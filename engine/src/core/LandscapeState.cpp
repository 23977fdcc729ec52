#include "core/LandscapeState.h"

#include <algorithm>

namespace kl::core {

std::vector<std::shared_ptr<terrain::LandscapeData>> LandscapeState::live()
{
    std::erase_if(landscapes_, [](const auto& weak) { return weak.expired(); });
    std::vector<std::shared_ptr<terrain::LandscapeData>> result;
    result.reserve(landscapes_.size());
    for (const auto& weak : landscapes_)
        if (auto landscape = weak.lock())
            result.push_back(std::move(landscape));
    return result;
}

void LandscapeState::add(const std::shared_ptr<terrain::LandscapeData>& landscape)
{
    std::erase_if(landscapes_, [](const auto& weak) { return weak.expired(); });
    landscapes_.push_back(landscape);
}

std::vector<std::shared_ptr<const terrain::TerrainShape>> LandscapeState::shapes() const
{
    std::vector<std::shared_ptr<const terrain::TerrainShape>> result;
    appendShapes(result);
    return result;
}

void LandscapeState::appendShapes(std::vector<std::shared_ptr<const terrain::TerrainShape>>& shapes) const
{
    // Called for every single ray test: no copy of the registry on the way.
    for (const auto& weak : landscapes_)
        if (const auto landscape = weak.lock(); landscape && landscape->terrain)
            shapes.push_back(landscape->terrain->shape);
}

} // namespace kl::core
