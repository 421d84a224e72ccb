#pragma once
// The tiles of the frame benchmarks: 1000 tiles of 40 triangles over the left half of an 800x600
// target, two layers deep, each material one colour of a 64x64 mip texture.
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Graphics/G2d/g2dPixelFormat.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

#include <algorithm>
#include <memory>
#include <vector>

// One tile: a 5x4 grid of quads on the unit square, 40 triangles, counter-clockwise on the screen so
// the default culling keeps them.
struct Tile {
    std::vector<maVector3d> positions, normals;
    std::vector<maVector2d> uvs;
    std::vector<u16> indices;
    Tile() {
        for (u32 y = 0; y <= 4; ++y)
            for (u32 x = 0; x <= 5; ++x) {
                positions.emplace_back(static_cast<f32>(x) / 5.0f, static_cast<f32>(y) / 4.0f, 0.0f);
                normals.emplace_back(0.0f, 0.0f, -1.0f);
                uvs.emplace_back(static_cast<f32>(x) / 5.0f, static_cast<f32>(y) / 4.0f);
            }
        for (u16 y = 0; y < 4; ++y)
            for (u16 x = 0; x < 5; ++x) {
                const auto i = static_cast<u16>(y * 6 + x);
                indices.insert(indices.end(),
                               {i, static_cast<u16>(i + 6), static_cast<u16>(i + 1), static_cast<u16>(i + 1),
                                static_cast<u16>(i + 6), static_cast<u16>(i + 7)});
            }
    }
};

// Tiles of 20x24 pixels over the left half, two layers deep (the far one drawn first): 1000 worlds.
inline std::vector<maMatrix4d> TileWorlds() {
    std::vector<maMatrix4d> worlds;
    for (const f32 depth : {0.6f, 0.3f})
        for (u32 row = 0; row < 25; ++row)
            for (u32 column = 0; column < 20; ++column) {
                maMatrix4d world;
                world.SetScale(20.0f, 24.0f, 1.0f);
                world.Translate(static_cast<f32>(column) * 20.0f, static_cast<f32>(row) * 24.0f, depth);
                worlds.push_back(world);
            }
    return worlds;
}

// The texels of material m's texture at every level of a 64x64 chain: one colour a material.
inline u32 TexelOf(u32 m) {
    return 0xFF000000u | ((m * 37u) & 0xFF) << 16 | ((m * 91u) & 0xFF) << 8 | ((m * 13u) & 0xFF);
}

inline std::unique_ptr<g3dMipTexture> MakeMipTexture(u32 texel) {
    auto texture = std::make_unique<g3dMipTexture>();
    g2dPixelFormat format;
    g2dGetPixelFormat(plD3dFormat::X8R8G8B8, format);
    texture->GetMipPAC().Create(64, 64, format, 0);
    plD3dTexture* d3d = texture->GetMipPAC().GetTexture();
    for (u32 level = 0; d3d && level < d3d->GetLevelCount(); ++level) {
        plD3dLockedRect locked;
        if (plD3dFailed(d3d->LockRect(level, &locked, nullptr, 0)))
            continue;
        const u32 size = 64u >> level;
        for (u32 y = 0; y < size; ++y)
            std::fill_n(reinterpret_cast<u32*>(static_cast<u8*>(locked.bits) + y * locked.pitch), size,
                        texel);
        d3d->UnlockRect(level);
    }
    return texture;
}
