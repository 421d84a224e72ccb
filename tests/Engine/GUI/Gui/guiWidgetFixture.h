#pragma once
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/GUI/Gui/guiMaterial.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "guiTestFrame.h"

#include <algorithm>
#include <string>
#include <vector>

// The gui package on the fakes with an 800 x 600 fake device, the renderer's lists, the texture
// manager and the FreeType rasterizer on DejaVu: real widgets, their quads in the GUI list. The
// widgets go before the device does.
class guiWidgetTest : public guiTestGui {
  protected:
    void SetUp() override {
        guiTestGui::SetUp();
        StartScreen(fonts);
    }
    void TearDown() override {
        guiWindowMgr::GetRoot()->DeleteAllChildren();
        EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), nullptr);
        g3dStopTestScreen();
        guiTestGui::TearDown();
    }

    // The device's calls since the mark whose line starts with the name; the count marks again.
    void Mark() { mark = d3d.GetLog().size(); }
    size_t CountSinceMark(const std::string& call) {
        const auto& log = d3d.GetLog();
        const size_t count = static_cast<size_t>(
            std::count_if(log.begin() + static_cast<std::ptrdiff_t>(mark), log.end(),
                          [&](const std::string& line) { return line.rfind(call, 0) == 0; }));
        Mark();
        return count;
    }

    // The GUI list's entries in their order.
    static const g3dMaterial* Shown(const guiMaterial& widget) {
        const auto* node = dynamic_cast<const g3dHFragment*>(widget.GetRenderEntry()->GetNode());
        return node->GetFragment()->GetMaterial(0);
    }
    static const maMatrix4d& EntryMatrix(const guiMaterial& widget) {
        return widget.GetRenderEntry()->GetNode()->GetLocalMatrix();
    }
    // The first level's texels as 16-bit words (the text textures are A4R4G4B4).
    static std::vector<u16> Texels(const g3dTexture& texture) {
        const plD3dSurface& surface = *texture.GetPAC()->GetTexture()->Level(0);
        std::vector<u16> texels;
        for (u32 y = 0; y < surface.Desc().height; ++y) {
            const auto* row = reinterpret_cast<const u16*>(surface.Pixels() + y * surface.Pitch());
            texels.insert(texels.end(), row, row + surface.Desc().width);
        }
        return texels;
    }

    plFreeTypeFonts fonts;
    fsTestFolder folder;
    size_t mark = 0;
};
