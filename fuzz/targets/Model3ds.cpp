// 3DS models through the engine's loader.
#include "ModelSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::loadModel(data, size, kl::model::ModelKind::Studio3ds);
    return 0;
}
