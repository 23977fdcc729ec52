// X models through the engine's loader.
#include "ModelSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::loadModel(data, size, kl::model::ModelKind::DirectX);
    return 0;
}
