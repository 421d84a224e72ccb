#include "Engine/Core/Ma/maRandom.h"

namespace {

// Unseeded, the sequence starts as if seeded with 1.
u32 g_state = 1;

} // namespace

void maRandomSeed(u32 seed) {
    g_state = seed;
}

u32 maRandomInt() {
    g_state = g_state * 214013u + 2531011u;
    return (g_state >> 16) & 0x7FFFu;
}

float maRandomFloat(float min, float max) {
    const float r = static_cast<float>(maRandomInt());
    return r * 3.051851e-5f * (max - min) + min;
}
