#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Graphics/Sc/scGeneratorEvents.h"
#include "Source/Scene/coObject.h"

#include <memory>
#include <vector>

class coPropAnimation;
class coPropTemplate;
class coSoundAttachment;
class g3dTransformTreeNode;
class scMovableObject;
class snSoundJob2D;

// One placed prop: a kind of prop (its template, loaded by whoever makes the prop) standing at a
// position with a heading about the vertical axis, pickable in the editor. Its bounds are the template
// model's box, scaled, turned and moved with it. An animated prop, while active, plays its idle
// animation, its entry event when the lead car comes within the trigger distance and its exit
// animation when the car has gone, firing the particles and sounds of the animation's cues.
class coProp : public scGeneratorEventHandler, public coObject {
  public:
    static constexpr u32 kRenderList = 2;

    explicit coProp(coPropTemplate& propTemplate);
    ~coProp() override;
    // Props standing now on the template: one still in use must stay loaded.
    static int CountUsing(const coPropTemplate& propTemplate);

    coPropTemplate& GetTemplate() const { return m_template; }
    const maVector3d& GetPosition() const { return m_position; }
    void SetPosition(const maVector3d& position);
    f32 GetAngle() const { return m_heading; }
    void SetAngle(f32 heading);
    // Places the model without touching the stored position and heading (track props).
    void SetPose(const maVector3d& position, const maMatrix4d& rotation);
    const maMatrix4d& GetTransform() const { return m_transform; }
    void SetTransform(const maMatrix4d& transform) { m_transform = transform; }

    const maBoundingBox& GetBounds() const { return m_worldBounds; }
    maBoundingBox GetBoundingBox() const override { return m_worldBounds; }
    const maBoundingBox& GetLocalBounds() const { return m_localBounds; }
    bool IsVisible() const { return m_visible; }
    // Hiding while an animation is current stops the prop's sounds and ends its particles.
    void SetVisible(bool visible);
    i32 GetActiveEvent() const { return m_activeEvent; }
    void SetActiveEvent(i32 event) { m_activeEvent = event; }
    f32 GetTriggerDistance() const { return m_triggerDistance; }
    u8 GetObjectiveFlag() const { return m_objectiveFlag; }
    void SetObjectiveFlag(u8 flag) { m_objectiveFlag = flag; }

    bool IsAnimated() const { return m_animated; }
    bool IsActive() const { return m_active; }
    // Switching on restarts from no animation; off puts the model back at rest, silent.
    void SetActive(bool active);
    // One step at game time t (seconds) with the trigger asked of the lead car.
    void Update(f32 time);
    // The step with the trigger's answer given.
    void Advance(f32 time, bool carInside);
    void PauseSounds();
    void ResumeSounds();
    void OnGeneratorRemoved(scParticleGenerator* generator) override;

    const coPropAnimation* GetCurrentAnimation() const { return m_current; }
    f32 GetStartTime() const { return m_startTime; }
    const std::vector<std::unique_ptr<scMovableObject>>& GetModels() const { return m_models; }
    // Particle generators alive in the current animation's slots; sound jobs held, dropped ones included.
    size_t CountGenerators() const;
    size_t CountSounds() const;

    bool RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const override;
    // Whether the lead car of the first train is within the trigger distance; never before the ride
    // has cars.
    bool IsTrainInside() const;
    bool IsCarInside(const maVector3d& car) const;

  protected:
    void StorePosition(const maVector3d& position) { m_position = position; }

  private:
    struct SoundSlot {
        coSoundAttachment* attachment = nullptr;
        snSoundJob2D* job = nullptr;
    };

    void MakeModels();
    void UpdateWorld();
    void PlaceBounds(const maMatrix4d& pose);
    void Trigger(f32 time, bool carInside);
    void Play(const coPropAnimation* animation, f32 startTime);
    void FireParticleCues(f32 from, f32 phase, f32 time);
    void StartSoundCues(f32 from, f32 phase, f32 time);
    void StartSound(SoundSlot& slot, size_t cue, f32 time);
    void DeleteGenerators();
    void StopAllSounds();
    void FreeEndedTails();

    maVector3d m_position;
    f32 m_heading = 0.0f;
    std::vector<std::unique_ptr<scMovableObject>> m_models;
    coPropTemplate& m_template;
    maBoundingBox m_worldBounds;
    maBoundingBox m_localBounds;
    maMatrix4d m_transform;
    i32 m_activeEvent = 0;
    f32 m_startTime = -1.0f;
    f32 m_lastCueTime = 0.0f;
    std::vector<scParticleGenerator*> m_generators;
    std::vector<SoundSlot> m_sounds;
    // Slots an animation change dropped: their one-shot sounds play out and are freed when they end.
    std::vector<SoundSlot> m_tailSounds;
    bool m_active = false;
    bool m_looping = false;
    const coPropAnimation* m_current = nullptr;
    bool m_animated = false;
    bool m_visible = true;
    bool m_trainInside = false;
    // The posed trees as made, one per hierarchy model.
    std::vector<std::unique_ptr<g3dTransformTreeNode>> m_restPoses;
    f32 m_triggerDistance;
    u8 m_objectiveFlag = 0;
};

// The trigger's test: the distance from the car to the box's centre line (centre x and y, the car's z
// kept within the box's z) strictly below the trigger distance.
bool coPropTriggerInside(const maBoundingBox& box, const maVector3d& car, f32 triggerDistance);

// An animation's phase at `elapsed` seconds, and where the cues to fire start (`from`): the previous
// phase, one duration back when the animation wrapped since. False when no cue may fire: a duration that
// is not above 0 (a one-key track), or a one-shot animation that has run out.
bool coPropPhase(f32 elapsed, f32 duration, bool looping, f32 lastCueTime, f32& phase, f32& from);
