#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"

#include <memory>
#include <vector>

class g3dMaterialAnimation;
class g3dTexture;

// One texture of a material with its texture-coordinate transform and its mode (1: counts as
// transparent; the renderer also picks addressing and combining by it).
struct g3dTextureStage {
    explicit g3dTextureStage(g3dTexture* texture_) : texture(texture_) {}

    // Mode 1, or a texture whose texels have alpha bits.
    bool IsTransparent() const;

    g3dTexture* texture; // not owned
    maVector2d offset{0.0f, 0.0f};
    maVector2d scale{1.0f, 1.0f};
    float rotation = 0.0f; // radians
    // Set by the material's stage setters; while clear the stage's transform is the identity.
    bool transformed = false;
    u32 mode = 0;
};

// How geometry is lit and textured: four colours, a specular power, texture stages in stage order and
// owned animation bindings of its channels. One flag is derived: transparent, which the draw-list
// sorting reads. Fragments and scene objects point at materials; their creator deletes them.
class g3dMaterial {
  public:
    static constexpr u8 kTransparent = 1;
    static constexpr u8 kSpecular = 2;

    // White ambient, diffuse and specular, no emission, power 1, no stages, opaque, specular off.
    g3dMaterial();
    // A copy without the other's animation bindings (see the assignment).
    g3dMaterial(const g3dMaterial& other);
    // Copies colours, flags, stages and power; the bindings stay this material's own, so the renderer
    // can evaluate animations into a working copy.
    g3dMaterial& operator=(const g3dMaterial& other);
    ~g3dMaterial();

    // Ambient and specular leave the transparent flag alone; specular also turns specular lighting on.
    const g3dARGBColor* SetAmbient(const g3dARGBColor& color);
    void SetDiffuse(const g3dARGBColor& color);
    void SetSpecular(const g3dARGBColor& color);
    void SetEmissive(const g3dARGBColor& color);
    void SetSpecularEnable(bool on);
    void SetSpecularPower(float power);

    void AddTextureStage(g3dTexture* texture, u32 mode);
    void RemoveTextureStage(u32 index);
    void ClearTextureStages();
    // The value, then the stage; each marks the stage transformed and leaves the flags alone. A stage
    // the material does not have is ignored with a warning.
    void SetStageOffset(const maVector2d& offset, u32 stage);
    void SetStageScale(const maVector2d& scale, u32 stage);
    void SetStageRotation(float angle, u32 stage);
    // The stage's texture-coordinate matrix (row vectors, translation in row 2); the identity until a
    // stage setter has run.
    void GetStageTransform(maMatrix3d& out, u32 stage) const;

    // Takes the binding; returns the new number of bindings.
    u32 AddAnimation(std::unique_ptr<g3dMaterialAnimation> binding);
    void DeleteAnimations();

    const g3dARGBColor& GetAmbient() const { return m_ambient; }
    const g3dARGBColor& GetDiffuse() const { return m_diffuse; }
    const g3dARGBColor& GetSpecular() const { return m_specular; }
    const g3dARGBColor& GetEmissive() const { return m_emissive; }
    float GetSpecularPower() const { return m_specularPower; }
    u8 GetFlags() const { return m_flags; }
    bool IsTransparent() const { return (m_flags & kTransparent) != 0; }
    bool IsSpecularEnabled() const { return (m_flags & kSpecular) != 0; }
    u32 GetStageCount() const { return static_cast<u32>(m_stages.size()); }
    const g3dTextureStage& GetStage(u32 index) const { return m_stages[index]; }
    u32 GetAnimationCount() const { return static_cast<u32>(m_animations.size()); }
    const g3dMaterialAnimation& GetAnimation(u32 index) const { return *m_animations[index]; }

    // Transparent when the diffuse alpha is not exactly 1, else when there are stages and every one
    // is transparent.
    void UpdateFlags();

  private:
    g3dTextureStage* FindStage(u32 stage);

    u8 m_flags = 0;
    g3dARGBColor m_ambient{1.0f, 1.0f, 1.0f, 1.0f};
    g3dARGBColor m_diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    g3dARGBColor m_specular{1.0f, 1.0f, 1.0f, 1.0f};
    g3dARGBColor m_emissive{0.0f, 0.0f, 0.0f, 0.0f};
    std::vector<g3dTextureStage> m_stages;
    float m_specularPower = 1.0f;
    std::vector<std::unique_ptr<g3dMaterialAnimation>> m_animations;
};
