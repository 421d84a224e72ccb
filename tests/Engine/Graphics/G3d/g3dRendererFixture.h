#pragma once
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "g3dFragmentFixture.h"

#include <string>
#include <vector>

// The fragment fixture with the renderer started on the fake device and its call log read from a mark.
class g3dRendererFixture : public g3dFragmentFixture {
  protected:
    void SetUp() override {
        g3dFragmentFixture::SetUp();
        g3dRenderer::Initialize(m_lists);
        g3dRenderer::InitStates();
    }
    void TearDown() override {
        for (g3dTexture* texture : m_textures)
            g3dTextureManager::ReleaseTexture(texture);
        g3dRenderer::Shutdown();
        g3dFragmentFixture::TearDown();
    }

    void Mark() { m_mark = m_d3d.GetLog().size(); }
    // The calls since the mark whose line starts with one of the prefixes.
    std::vector<std::string> Since(const std::vector<std::string>& prefixes) {
        std::vector<std::string> calls;
        const auto& log = m_d3d.GetLog();
        for (size_t i = m_mark; i < log.size(); ++i)
            for (const std::string& prefix : prefixes)
                if (log[i].rfind(prefix, 0) == 0) {
                    calls.push_back(log[i]);
                    break;
                }
        return calls;
    }
    // Two triangles over four vertices at the origin with one material.
    g3dFragment* Quad(g3dMaterial* material) {
        const maVector3d points[4] = {};
        const u16 indices[6] = {0, 1, 2, 2, 1, 3};
        return Keep(g3dFragmentManager::CreateFragmentPNT(points, points, 4, indices, 6, &material, nullptr, 1,
                                                          false));
    }
    // The calls of one frame whose line starts with one of the prefixes.
    std::vector<std::string> Frame(const std::vector<std::string>& prefixes) {
        Mark();
        g3dRenderer::RenderFrame(0.0f);
        return Since(prefixes);
    }
    g3dTexture* Texture(i32 size) {
        m_textures.push_back(g3dTextureManager::CreateRenderTarget(size, size, *g3dGetOpaqueHighFormat()));
        return m_textures.back();
    }

    // The render lists the renderer starts with; a test's constructor may set others.
    std::vector<g3dRenderListConfig> m_lists = g3dDefaultRenderLists();
    size_t m_mark = 0;
    std::vector<g3dTexture*> m_textures;
};
