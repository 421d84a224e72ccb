#include "Source/Collision/coCollisionPark.h"

#include "Source/Settings/coSeam.h"

namespace {
const coCollisionPark g_empty;
constinit coSeam<const coCollisionPark> g_installed(g_empty);
} // namespace

const coCollisionPark& coGetCollisionPark() {
    return g_installed.Get();
}

void coSetCollisionPark(const coCollisionPark* park) {
    g_installed.Set(park);
}
