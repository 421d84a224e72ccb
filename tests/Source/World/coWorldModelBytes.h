#pragma once
#include "../../Engine/Graphics/May/mayModelBytes.h"

#include <initializer_list>
#include <string>

// Ground at height 0 for x in -100..0 and 10 for x in 0..100 (z in -100..100), each square drawn from
// both sides, in one material of diffuse (1, 0.5, 0.25, 0.8) with the named textures.
inline std::string coTwoLevelGround(std::initializer_list<const char*> textures) {
    const f32 corners[8][3] = {{-100, 0, -100}, {0, 0, -100},    {0, 0, 100},    {-100, 0, 100},
                               {0, 10, -100},   {100, 10, -100}, {100, 10, 100}, {0, 10, 100}};
    mayModelBytes::Body gver, nver, gind, nind, mbas;
    gver.U16(8);
    for (const auto& c : corners)
        gver.Floats({c[0], c[1], c[2]});
    nver.U16(1).Floats({0, 1, 0});
    const u16 triangles[8][3] = {{0, 1, 2}, {0, 2, 3}, {2, 1, 0}, {3, 2, 0},
                                 {4, 5, 6}, {4, 6, 7}, {6, 5, 4}, {7, 6, 4}};
    gind.U16(8);
    nind.U16(8);
    for (const auto& t : triangles) {
        gind.U16(t[0]).U16(t[1]).U16(t[2]);
        nind.U16(0).U16(0).U16(0);
    }
    mbas.Floats({1, 0.5f, 0.25f, 0.8f, 0.5f, 0.5f, 0.5f, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0})
        .U8(static_cast<u8>(textures.size()));
    for (const char* texture : textures)
        mbas.Text(std::string(texture) + '\0');
    using mayModelBytes::Chunk;
    return mayModelBytes::File(Chunk("GFRG", Chunk("GVER", gver.Str()) + Chunk("NVER", nver.Str()) +
                                                 Chunk("MATR", Chunk("MBAS", mbas.Str())) +
                                                 Chunk("GIND", gind.Str()) + Chunk("NIND", nind.Str())));
}
