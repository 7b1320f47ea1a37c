#include "engine/PostProcessParams.h"

#include <cassert>

namespace Flurr {

namespace {

float* FieldPointer(PostProcessParams& p, int32_t i) {
    assert(i >= 0 && i < PostProcessParams::kFloatFields && "a levels field is 0 to 12");
    if (i == 0)
        return &p.blur;
    if (i <= 3)
        return &p.inBlack[i - 1];
    if (i <= 6)
        return &p.outBlack[i - 4];
    if (i <= 9)
        return &p.inWhite[i - 7];
    return &p.outWhite[i - 10];
}

} // namespace

float& PostProcessParams::Field(int32_t i) {
    return *FieldPointer(*this, i);
}

float PostProcessParams::Field(int32_t i) const {
    return *FieldPointer(const_cast<PostProcessParams&>(*this), i);
}

} // namespace Flurr
