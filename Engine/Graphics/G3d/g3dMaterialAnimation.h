#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/An/anTypedAnimation.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"

#include <memory>

class g3dMaterial;

// Channels a binding animates: 0 to 3 the ambient, diffuse, specular and emissive colours, 4 the
// specular power, then for stages 0 to 3 the UV offsets (5 to 8), scales (9 to 12) and rotations
// (13 to 16).
namespace g3dMaterialChannel {
constexpr u32 Ambient = 0;
constexpr u32 Diffuse = 1;
constexpr u32 Specular = 2;
constexpr u32 Emissive = 3;
constexpr u32 SpecularPower = 4;
constexpr u32 StageOffset = 5;
constexpr u32 StageScale = 9;
constexpr u32 StageRotation = 13;
constexpr u32 Last = 16;
} // namespace g3dMaterialChannel

// One animation bound to one channel of a material, which owns the binding; the binding owns the
// animation. The animation is seen as the channel's value type, or not at all when it is of another.
class g3dMaterialAnimation {
  public:
    g3dMaterialAnimation(std::unique_ptr<anAnimation> animation, u32 channel, float startTime);
    ~g3dMaterialAnimation();
    g3dMaterialAnimation(const g3dMaterialAnimation&) = delete;
    g3dMaterialAnimation& operator=(const g3dMaterialAnimation&) = delete;

    u32 GetChannel() const { return m_channel; }
    float GetStartTime() const { return m_startTime; }
    const anAnimation& GetAnimation() const { return *m_animation; }
    // The view of the channel's type, null when the animation is of another type.
    const anTypedAnimation<g3dARGBColor>* GetColorView() const { return m_color; }

    // Sets the channel's value at the time on the material; a binding without a view, or naming a
    // stage the material does not have, changes nothing.
    void Apply(float time, g3dMaterial& material) const;

  private:
    std::unique_ptr<anAnimation> m_animation;
    const anTypedAnimation<float>* m_float = nullptr;
    const anTypedAnimation<g3dARGBColor>* m_color = nullptr;
    const anTypedAnimation<maVector2d>* m_vector = nullptr;
    u32 m_channel;
    float m_startTime;
};

// The material as drawn at the time: working becomes a copy of stored (without its bindings) with
// every binding of stored applied in order. The stored material is never changed by its animations.
void g3dApplyMaterialAnimations(const g3dMaterial& stored, float time, g3dMaterial& working);
