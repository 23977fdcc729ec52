// Glazery's objects list: at most nine objects from any bytes; a list that
// was read is written and read back to the same objects.
#include "FuzzSupport.h"

#include "core/ObjectsList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto read = glazery::parseObjectsList(fuzz::bytesOf(data, size), QStringLiteral("glazeryobjects.ini"));
    if (read.objects.size() > glazery::kPreviewSlotCount)
        fuzz::fail("the objects list holds more than nine objects");
    if (!read.error.isEmpty())
        return 0;
    const QByteArray written = glazery::objectsListContent(read.objects);
    const auto again = glazery::parseObjectsList(written, QStringLiteral("glazeryobjects.ini"));
    if (!again.error.isEmpty() || glazery::objectsListContent(again.objects) != written)
        fuzz::fail("an objects list written from a read one does not read back the same");
    return 0;
}
