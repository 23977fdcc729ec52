#include "core/MaterialSettings.h"

namespace glazery {

int lightTypeForRow(int row)
{
    switch (row) {
    case kPointRow:
        return 1;
    case kSpotRow:
        return 2;
    default:
        return 3;
    }
}

} // namespace glazery
