#pragma once
#include "Engine/Graphics/An/anTypedAnimation.h"
#include "Engine/Graphics/Sc/scObject.h"

#include <limits>
#include <memory>
#include <vector>

class g3dSpriteGroupModel;
struct g3dSprite;
class g3dTexture;
class g3dUVATexture;
class scEmitter;

// A movable scene object that emits particles from its emitter along the path it travels, for a set
// duration from its start time; then it expires, lets its particles live out their lives and reports
// itself finished once the last has died. Parameters are floats by index, their meaning the kind's.
class scParticleGenerator : public scMovableObject {
  public:
    explicit scParticleGenerator(float startTime);
    // Tells the handlers that watch it and forgets them, however it is deleted.
    ~scParticleGenerator() override;

    // The first call takes its time as the last; then the frame delta, expiry and a point emitter when
    // there is none. Every kind runs this first.
    void Update(float time) override;
    virtual int GetParameterCount() const { return 4; }

    // 0 expires the generator at its next update.
    void SetDuration(float seconds) { m_duration = seconds; }
    bool IsExpired() const { return m_flags & kExpired; }
    bool IsFinished() const { return m_flags & kFinished; }
    void SetFinished() { m_flags |= kFinished; }

    // Deletes the emitter held.
    void SetEmitter(std::unique_ptr<scEmitter> emitter);
    scEmitter* GetEmitter() const { return m_emitter.get(); }
    // Keeps a copy of the curve; a copy that is not a float curve is dropped, leaving none.
    void SetAnimation(const anTypedAnimation<float>& curve);
    const anTypedAnimation<float>* GetAnimation() const { return m_curve.get(); }
    // Grows the list with zeros up to the index; a negative index is ignored.
    void SetParameter(int i, float value);
    // 0 for an index the generator does not have.
    float GetParameter(int i) const;

    void SetEmitOffset(const maVector3d& offset) { m_emitOffset = offset; }
    const maVector3d& GetEmitOffset() const { return m_emitOffset; }
    void SetEmitDirection(const maVector3d& direction) { m_emitDirection = direction; }
    const maVector3d& GetEmitDirection() const { return m_emitDirection; }

    // The time since the previous update.
    float GetFrameDelta() const { return m_frameDelta; }

  private:
    static constexpr u8 kExpired = 1;
    static constexpr u8 kFinished = 2;

    std::unique_ptr<anTypedAnimation<float>> m_curve;
    std::unique_ptr<scEmitter> m_emitter;
    std::vector<float> m_parameters{1.0f, 2.0f, 10.0f, 1000.0f};
    maVector3d m_emitOffset{0.0f, 0.0f, 0.0f};
    maVector3d m_emitDirection{0.0f, 0.0f, 1.0f};
    float m_startTime;
    // Every creator sets it; until then the generator does not expire.
    float m_duration = std::numeric_limits<float>::infinity();
    float m_frameDelta = 0.0f;
    float m_lastUpdateTime = -1.0f;
    u8 m_flags = 0;
};

// A generator whose particles are drawn as camera-facing textured squares: a sprite group in one of the
// renderer's lists, whose sprite list is the particle list, drawn with the group's material at the
// centre of the particles' box.
class scSpriteGroupParticleGenerator : public scParticleGenerator {
  public:
    scSpriteGroupParticleGenerator(float startTime, int renderList);
    // Takes the group out of the renderer.
    ~scSpriteGroupParticleGenerator() override;

    // Each stores its byte, then shows the group exactly when visible and not culled.
    void SetVisible(bool visible) override;
    void SetCulled(bool culled) override;
    void SetPosition(const maVector3d& position) override;
    void SetRotation(const maRotation& rotation) override { StoreRotation(rotation); }
    void SetPositionRotation(const maVector3d& position, const maRotation& rotation) override {
        StorePositionRotation(position, rotation);
    }
    void SetScale(const maVector3d& scale) override { StoreScale(scale); }
    int GetParameterCount() const override { return 12; }

    // The generator shares the texture with its template, so that it may fade out after the template
    // is gone. A flip-book is also kept as the animated texture.
    void SetTexture(std::shared_ptr<g3dTexture> texture);
    g3dTexture* GetTexture() const { return m_texture.get(); }
    g3dUVATexture* GetUVATexture() const { return m_animatedTexture; }
    // 1: lit by the scene's lights (white ambient and diffuse, no emission); other modes glow on their
    // own (emissive white).
    void SetLighting(int mode);
    void SetFrameMode(int mode) { m_frameMode = mode; }
    void SetGrowthMode(int mode) { m_growthMode = mode; }
    int GetFrameMode() const { return m_frameMode; }
    int GetGrowthMode() const { return m_growthMode; }
    bool IsLit() const { return m_lighting == 1; }

    const g3dSpriteGroupModel& GetModel() const { return *m_model; }

  protected:
    // One stage, the texture's, in place of whatever the material had.
    void RefreshMaterial();
    // The box becomes the generator's, its centre the group's position and the particles its sprites.
    void PlaceGroup(const maBoundingBox& box, g3dSprite* sprites);

  private:
    void Show();

    g3dSpriteGroupModel* m_model; // the renderer's
    std::shared_ptr<g3dTexture> m_texture;
    g3dUVATexture* m_animatedTexture = nullptr;
    int m_growthMode = 1;
    int m_lighting = 1;
    int m_frameMode = 0;
};
