#pragma once
// One process-wide counter numbers every system class and every component
// class, in the order their ids are first asked for.

#include <cstdint>

namespace Flurr {

// Takes the next class type id.
int32_t NextTypeId();

// The id of one class, taken from the shared counter on first request.
template <typename Class> int32_t ClassTypeId() {
    static const int32_t id = NextTypeId();
    return id;
}

} // namespace Flurr
