#include "Engine/App/In/inDevice.h"

#include "Engine/Core/Ma/maConstants.h"

bool inDevice::Query(inQuery query, const u8* previous, const u8* current, i32 count, i32 control) const {
    if (!IsEnabled() || control >= count)
        return false;
    const auto answers = [&](i32 i) {
        switch (query) {
        case inQuery::Down:
            return current[i] != 0;
        case inQuery::Held:
            return previous[i] != 0 && current[i] != 0;
        case inQuery::Released:
            return previous[i] != 0 && current[i] == 0;
        }
        return false;
    };
    if (control >= 0)
        return answers(control);
    for (i32 i = 0; i < count; ++i)
        if (answers(i))
            return true;
    return false;
}

i32 inDirectionOfAngle(f32 angle) {
    const f32 eighth = maPiF / 8.0f;
    // The edge at pi/8 belongs to sector 0, so that no angle falls between two sectors.
    if (angle <= eighth || angle >= 15.0f * eighth)
        return 0;
    for (i32 k = 1; k <= 6; ++k)
        if (angle <= static_cast<f32>(2 * k + 1) * eighth)
            return k;
    return 7;
}
