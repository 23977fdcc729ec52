// Glazery's material file: any bytes give settings or an error, never both;
// settings that were read are written and read back to the same file.
#include "FuzzSupport.h"

#include "core/MaterialFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto read = glazery::parseMaterialFile(fuzz::bytesOf(data, size), QStringLiteral("fuzz.mkl"));
    if (read.settings.has_value() == !read.error.isEmpty())
        fuzz::fail("a material read gave both or neither of settings and an error");
    if (!read.settings)
        return 0;
    const QByteArray written = glazery::materialFileContent(*read.settings);
    const auto again = glazery::parseMaterialFile(written, QStringLiteral("fuzz.mkl"));
    if (!again.settings || glazery::materialFileContent(*again.settings) != written)
        fuzz::fail("a material file written from read settings does not read back the same");
    return 0;
}
