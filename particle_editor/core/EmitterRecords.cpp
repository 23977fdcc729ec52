#include "core/EmitterRecords.h"

#include <stdexcept>
#include <string>

namespace emberly {

ParticleSettings resetParticleSettings()
{
    ParticleSettings settings;
    settings.TextureID = 3;
    return settings;
}

EmitterSettings resetEmitterSettings(int index)
{
    checkEmitterIndex(index);
    EmitterSettings settings;
    settings.Power = float(index + 1) * 0.25f;
    return settings;
}

void checkEmitterIndex(int index)
{
    if (index < 0 || index >= kEmitterCount)
        throw std::out_of_range("emitter index " + std::to_string(index) + " is outside 0..2");
}

} // namespace emberly
