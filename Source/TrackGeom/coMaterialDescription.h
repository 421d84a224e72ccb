#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Graphics/An/anAnimation.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"

#include <memory>
#include <vector>

class g3dTexture;

// A surface as the track's definition files describe it: colours, specular power, texture stages and
// animated material channels. It stands where the renderer's material goes: the setters are named and
// behave as the material's, so the readers keep their calls when they switch over.
class coMaterialDescription {
  public:
    struct Stage {
        g3dTexture* texture; // not owned
        u32 mode;
    };
    // An animation driving one channel: 0 to 4 the colours and power, then per stage 0 to 3 the texture
    // coordinates' offset (5 to 8), scale (9 to 12) and rotation (13 to 16).
    struct ChannelAnimation {
        u32 channel;
        std::unique_ptr<anAnimation> animation;
    };

    void SetAmbient(const g3dARGBColor& colour) { m_ambient = colour; }
    void SetDiffuse(const g3dARGBColor& colour) { m_diffuse = colour; }
    // Also switches specular lighting on.
    void SetSpecular(const g3dARGBColor& colour) {
        m_specular = colour;
        m_specularOn = true;
    }
    void SetSpecularPower(float power) { m_specularPower = power; }
    void AddTextureStage(g3dTexture* texture, u32 mode) { m_stages.push_back({texture, mode}); }
    void AddAnimation(u32 channel, std::unique_ptr<anAnimation> animation) {
        m_animations.push_back({channel, std::move(animation)});
    }

    const g3dARGBColor& GetAmbient() const { return m_ambient; }
    const g3dARGBColor& GetDiffuse() const { return m_diffuse; }
    const g3dARGBColor& GetSpecular() const { return m_specular; }
    bool IsSpecularEnabled() const { return m_specularOn; }
    float GetSpecularPower() const { return m_specularPower; }
    u32 GetStageCount() const { return static_cast<u32>(m_stages.size()); }
    const Stage& GetStage(u32 index) const { return m_stages[index]; }
    u32 GetAnimationCount() const { return static_cast<u32>(m_animations.size()); }
    const ChannelAnimation& GetAnimation(u32 index) const { return m_animations[index]; }

  private:
    g3dARGBColor m_ambient{1.0f, 1.0f, 1.0f, 1.0f};
    g3dARGBColor m_diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    g3dARGBColor m_specular{1.0f, 1.0f, 1.0f, 1.0f};
    bool m_specularOn = false;
    float m_specularPower = 1.0f;
    std::vector<Stage> m_stages;
    std::vector<ChannelAnimation> m_animations;
};
