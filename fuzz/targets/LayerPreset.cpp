// Layerloom's layer preset: any bytes give a preset or an error, never both,
// and a preset that was read, written and read again is written the same way
// a second time (the written form is stable).
#include "FuzzSupport.h"

#include "core/PresetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString name = QStringLiteral("fuzz.llp");
    const auto read = layerloom::parsePresetFile(fuzz::bytesOf(data, size), name);
    if (read.preset.has_value() == !read.error.isEmpty())
        fuzz::fail("a preset read gave both or neither of a preset and an error");
    // The round trip of a preset that announces thousands of (empty) layers
    // writes and reads six lines per layer: bounded, but slow under the
    // sanitizers, so only the read is checked there.
    if (!read.preset || read.preset->layers.size() > 256)
        return 0;
    // Texts holding a double quote cannot be written without escaping, so the
    // first write may change them; from then on the file must not change.
    const auto once = layerloom::parsePresetFile(layerloom::presetContent(*read.preset), name);
    if (!once.preset)
        fuzz::fail("a written preset does not read back");
    if (once.preset->layers.size() != read.preset->layers.size())
        fuzz::fail("a written preset reads back with another layer count");
    const QByteArray written = layerloom::presetContent(*once.preset);
    const auto twice = layerloom::parsePresetFile(written, name);
    if (!twice.preset || layerloom::presetContent(*twice.preset) != written)
        fuzz::fail("a preset written twice is not written the same way");
    return 0;
}
