#pragma once
#include "Engine/GUI/Gui/guiTextureCache.h"
#include "Engine/Graphics/G3d/g3dTexture.h"

#include <memory>
#include <vector>

// Makes plain textures of a given size without files, and counts each kind of call.
class guiCountingLoader : public guiTextureLoader {
  public:
    explicit guiCountingLoader(i32 size = 16) : m_size(size) { guiTextureCache::SetLoader(this); }
    ~guiCountingLoader() override { guiTextureCache::SetLoader(nullptr); }

    g3dTexture* LoadPlainTexture(const fsLocator&) override {
        ++plainLoads;
        return Make();
    }
    g3dTexture* LoadUVATexture(const fsLocator&) override {
        ++uvaLoads;
        return Make();
    }
    void ReleaseTexture(g3dTexture* texture) override {
        ++releases;
        std::erase_if(m_live, [texture](const auto& t) { return t.get() == texture; });
    }
    size_t LiveCount() const { return m_live.size(); }

    int plainLoads = 0;
    int uvaLoads = 0;
    int releases = 0;

  private:
    g3dTexture* Make() {
        m_live.push_back(std::make_unique<g3dPlainTexture>());
        m_live.back()->SetSize(m_size, m_size);
        return m_live.back().get();
    }

    i32 m_size;
    std::vector<std::unique_ptr<g3dTexture>> m_live;
};
