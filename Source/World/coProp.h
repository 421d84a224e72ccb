#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Source/Park/coObject.h"

class coPropTemplate;

// One placed prop: a kind of prop (its template, loaded by whoever makes the prop) standing at a
// position with a heading about the vertical axis, pickable in the editor. Its bounds are the template
// model's box, scaled, turned and moved with it.
class coProp : public coObject {
  public:
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
    const maBoundingBox& GetLocalBounds() const { return m_localBounds; }
    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    i32 GetActiveEvent() const { return m_activeEvent; }
    void SetActiveEvent(i32 event) { m_activeEvent = event; }
    f32 GetTriggerDistance() const { return m_triggerDistance; }
    u8 GetObjectiveFlag() const { return m_objectiveFlag; }
    void SetObjectiveFlag(u8 flag) { m_objectiveFlag = flag; }

    bool RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const override;
    // Whether the lead car of the first train is within the trigger distance; never before the ride
    // has cars.
    bool IsTrainInside() const;

  protected:
    void StorePosition(const maVector3d& position) { m_position = position; }

  private:
    void UpdateWorld();
    void PlaceBounds(const maMatrix4d& pose);

    maVector3d m_position;
    f32 m_heading = 0.0f;
    coPropTemplate& m_template;
    maBoundingBox m_worldBounds;
    maBoundingBox m_localBounds;
    maMatrix4d m_transform;
    i32 m_activeEvent = 0;
    bool m_visible = true;
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
