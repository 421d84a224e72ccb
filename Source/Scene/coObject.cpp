#include "coObject.h"

namespace {

// Made on first use and never destroyed: objects with static storage may leave it during exit, after
// every other static is gone.
std::list<coObject*>& Registry() {
    static auto* registry = new std::list<coObject*>;
    return *registry;
}

constexpr f32 kPickReach = 2.0f;

} // namespace

coObject::coObject() : m_node(Registry().insert(Registry().end(), this)) {}

coObject::~coObject() {
    Registry().erase(m_node);
}

coObject* coPickObject(const maVector3d& origin, const maVector3d& direction, f32& t) {
    f32 best = kPickReach;
    coObject* result = nullptr;
    for (coObject* object : Registry()) {
        f32 hit = 0.0f;
        if (object->IsEnabled() && object->RayTest(origin, direction, hit) && hit < best) {
            best = hit;
            result = object;
        }
    }
    if (result)
        t = best;
    return result;
}

u32 coGetObjectCount() {
    return static_cast<u32>(Registry().size());
}
