#pragma once
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/Sc/scCameraManip.h"

// The world matrix of train 0's lead car, or of the car the ride camera sits in; false while the train
// has no cars (before the first ride starts), when the cameras stay where they are.
bool coGetTrainCarMatrix(bool viewCar, maMatrix4d& out);

// What a seat camera reads of the train it rides: the car's world matrix, the train's speed and its felt
// acceleration (in g, vertical 1.0 at rest).
struct coSeatTrain {
    maMatrix4d car;
    float speed = 0.0f;
    maVector3d acceleration{0.0f, 1.0f, 0.0f};
};

// A camera in the lead car of train 0: the arrows and the mouse look around, the felt acceleration slides
// the eye sideways and up and down, and speed shakes it. The two seats differ only in the eye position.
class coCameraManipSeat : public scCameraManip {
  public:
    void Update() override;

    float GetLookYaw() const { return m_lookYaw; }
    float GetLookPitch() const { return m_lookPitch; }
    void SetLookYaw(float yaw) { m_lookYaw = yaw; }
    void SetLookPitch(float pitch) { m_lookPitch = pitch; }
    const maVector2d& GetSlide() const { return m_slide; }
    // The eye's tremble of the last update, in world units.
    const maVector3d& GetShake() const { return m_shake; }

  protected:
    explicit coCameraManipSeat(const maVector3d& eyeOffset) : m_eyeOffset(eyeOffset) {}
    // The ride's train 0 and its lead car; false while the train has no cars (the camera then stays).
    virtual bool ReadTrain(coSeatTrain& train) const;

  private:
    void Look(float dt);
    void Slide(float dt, const coSeatTrain& train);

    maMatrix4d m_carMatrix;
    maVector3d m_eyeOffset;
    float m_lookYaw = 0.0f;
    float m_lookPitch = 0.0f;
    maVector2d m_slide;
    maVector3d m_shake;
};

// Ride camera 0: the coaster type's eye position in the lead car.
class coCameraManipRide : public coCameraManipSeat {
  public:
    coCameraManipRide();
};

// Ride camera 4 and the test ride's camera: the close eye position, with the car bodies hidden.
class coCameraManipCloseRide : public coCameraManipSeat {
  public:
    coCameraManipCloseRide();
};
