#include "engine/TypeId.h"

namespace Flurr {

int32_t NextTypeId() {
    static int32_t counter = 0;
    return counter++;
}

} // namespace Flurr
