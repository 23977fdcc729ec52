// The engine's picture decoder (BMP, JPG, PNG, GIF, TIF, DDS), as texture
// loading and height maps use it; one executable per format, each seeded
// with its own kind of file. A decoded picture is ARGB32 within the side limit.
#include "FuzzSupport.h"

#include "image/ImageLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto loaded = kl::image::decodeImage(fuzz::bytesOf(data, size), QStringLiteral("fuzz"));
    if (loaded.image.isNull() == loaded.error.isEmpty())
        fuzz::fail("a picture decode gave both or neither of a picture and an error");
    if (loaded.image.isNull())
        return 0;
    if (loaded.image.format() != QImage::Format_ARGB32)
        fuzz::fail("a decoded picture is not ARGB32");
    if (loaded.image.width() > kl::image::MaxImageSide || loaded.image.height() > kl::image::MaxImageSide)
        fuzz::fail("a decoded picture is larger than the side limit");
    kl::image::applyColourKey(loaded.image, 0xFF000000u);
    return 0;
}
