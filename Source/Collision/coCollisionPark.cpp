#include "Source/Collision/coCollisionPark.h"

namespace {
const coCollisionPark* g_installed = nullptr;
}

const coCollisionPark& coGetCollisionPark() {
    static const coCollisionPark empty;
    return g_installed ? *g_installed : empty;
}

void coSetCollisionPark(const coCollisionPark* park) {
    g_installed = park;
}
