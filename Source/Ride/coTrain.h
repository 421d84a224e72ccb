#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"

#include <vector>

class coCoasterPiece;

// One car of a train: the frame of the track under it and the piece that frame came from.
struct coTrainCar {
    // Rows: lateral axis, up axis, forward axis, position.
    maMatrix4d frame;
    // The track element of the piece under the car (coTrackElement), copied when the car changes piece.
    i32 element = 0;
    // Not owned; null until the car is placed.
    coCoasterPiece* piece = nullptr;
    // Distance along the circuit at which that piece begins.
    float pieceStart = 0.0f;
};

// One train's ride state and its physics step: a one-dimensional speed along the circuit under gravity,
// air drag and the track elements, the cars placed on the pieces under them, and the felt acceleration of
// the lead car. Serves the visible ride and the statistics run alike; it draws nothing.
class coTrain {
  public:
    // Replaces the car offsets (how far each car stands behind the train's distance; car 0 leads) and
    // grows or shrinks the car list to match. Setup follows before the train is stepped.
    void SetCars(int count, const float* offsets);
    // Starts the train at a distance with a speed, taking the circuit length afresh and placing every
    // car from scratch. The velocity starts as the lead car's forward axis times the speed.
    void Setup(float distance, float speed);
    // One physics step of dt seconds; allocates nothing.
    void Step(float dt);
    // With lead-only set, the cars after the lead get only their forward axis (the third row of their
    // frames, all the physics reads of them); the rest of their frames is left as it was. For runs that
    // show no car but the lead.
    void SetLeadFrameOnly(bool leadOnly) { m_leadFrameOnly = leadOnly; }

    float GetSpeed() const { return m_speed; }
    // In g, in the lead car's axes: x lateral, y up, z forward.
    const maVector3d& GetAcceleration() const { return m_acceleration; }
    // The index is not checked.
    const coTrainCar& GetCar(int index) const { return m_cars[static_cast<size_t>(index)]; }
    int GetCarCount() const { return static_cast<int>(m_cars.size()); }
    float GetDistance() const { return m_distance; }
    // The distance as a fraction of the circuit length; 0 on a circuit without length.
    float GetFraction() const;
    float GetCircuitLength() const { return m_circuitLength; }
    coCoasterPiece* GetLeadPiece() const { return m_cars.empty() ? nullptr : m_cars.front().piece; }

  private:
    void ApplyForces(float dt);
    void Move(float dt);
    void PlaceCars();
    void PlaceCar(coTrainCar& car, float offset, bool fullFrame);
    void FindPiece(coTrainCar& car, float d) const;
    void MeasureAcceleration(float dt);
    bool HasLength() const;

    float m_circuitLength = 0.0f;
    float m_distance = 0.0f;
    float m_speed = 0.0f;
    maVector3d m_velocity;
    maVector3d m_acceleration;
    std::vector<coTrainCar> m_cars;
    std::vector<float> m_offsets;
    bool m_leadFrameOnly = false;
};

// The offsets of count cars standing `separation` apart, the lead car first.
std::vector<float> coEvenCarOffsets(int count, float separation);

// The program-wide air-drag switch; it starts on. Coaster files and missions store it.
void coSetTrainDragOn(u8 on);
u8 coGetTrainDragOn();
