#pragma once
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

#include <vector>

// The bytes of every level of the texture's device texture; empty without one.
inline std::vector<u8> g3dTexels(const g3dTexture& texture) {
    std::vector<u8> bytes;
    const plD3dTexture* d3dTexture = texture.GetPAC() ? texture.GetPAC()->GetTexture() : nullptr;
    for (u32 level = 0; d3dTexture && level < d3dTexture->GetLevelCount(); ++level) {
        const plD3dSurface& surface = *d3dTexture->Level(level);
        bytes.insert(bytes.end(), surface.Pixels(),
                     surface.Pixels() + surface.Pitch() * surface.Desc().height);
    }
    return bytes;
}

// The screen's fixture with the FreeType rasterizer, the texture manager started, a windowed device
// and the texture formats chosen. Tests release their textures: the device must go with the fixture.
class g3dTextureFixture : public g2dScreenFixture {
  protected:
    void SetUp() override {
        g2dScreenFixture::SetUp();
        plInstallServices({.time = &m_time, .d3d = &m_d3d, .fonts = &m_fonts});
        g3dTextureManager::Initialize();
        g2dScreen::InitWindowed(640, 480, 0, 0);
        g3dSelectTextureFormats();
    }

    plFreeTypeFonts m_fonts;
    fsTestFolder m_folder;
};
