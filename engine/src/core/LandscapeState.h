// The landscapes of the engine (KLLandscape): each one's state, in creation
// order. The registry does not own them: a landscape leaves when its
// KLLandscape is released.
#pragma once

#include "terrain/Terrain.h"

#include <memory>
#include <vector>

namespace kl::core {

class LandscapeState {
public:
    void add(const std::shared_ptr<terrain::LandscapeData>& landscape);
    // The landscapes still alive; forgets the others.
    std::vector<std::shared_ptr<terrain::LandscapeData>> live();
    // The surfaces of every live landscape that has terrain, for ray tests.
    std::vector<std::shared_ptr<const terrain::TerrainShape>> shapes() const;
    // The same, appended to `shapes`.
    void appendShapes(std::vector<std::shared_ptr<const terrain::TerrainShape>>& shapes) const;

private:
    std::vector<std::weak_ptr<terrain::LandscapeData>> landscapes_;
};

} // namespace kl::core
