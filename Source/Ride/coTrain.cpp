#include "Source/Ride/coTrain.h"

#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPiece.h"

#include <cmath>

namespace {

constexpr float kGravity = 9.81f;
constexpr float kDragCoefficient = 0.0011f;
// The chain takes hold of a train between these speeds and pulls it at the upper one.
constexpr float kChainLowest = -2.0f;
constexpr float kChainSpeed = 8.0f;
constexpr float kBrakeFactor = 0.09f;
constexpr float kBoosterAcceleration = 3.0f;
// A booster pushes a train backwards only when it already rolls back at least this fast.
constexpr float kBoosterBackwards = -2.0f;
constexpr float kRetarderSpeed = 18.0f;

u8 g_dragOn = 1;

// Into [0, length) as repeated subtraction or addition of the length would bring it, in one go, so that
// far or non-finite distances cannot keep a loop turning.
float WrapDistance(float d, float length) {
    if (d >= length || d < 0.0f) {
        d = std::fmod(d, length);
        if (d < 0.0f)
            d += length;
    }
    return d;
}

} // namespace

std::vector<float> coEvenCarOffsets(int count, float separation) {
    std::vector<float> offsets(count > 0 ? static_cast<size_t>(count) : 0);
    for (size_t c = 0; c < offsets.size(); ++c)
        offsets[c] = static_cast<float>(c) * separation;
    return offsets;
}

void coSetTrainDragOn(u8 on) {
    g_dragOn = on;
}

u8 coGetTrainDragOn() {
    return g_dragOn;
}

void coTrain::SetCars(int count, const float* offsets) {
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    m_offsets.assign(offsets, offsets + n);
    m_cars.resize(n);
}

void coTrain::Setup(float distance, float speed) {
    m_distance = distance;
    m_speed = speed;
    m_circuitLength = coCircuitTotalLength();
    for (coTrainCar& car : m_cars)
        car.piece = nullptr;
    PlaceCars();
    const maVector3d forward = m_cars.empty() ? maVector3d() : m_cars.front().frame.GetZAxis();
    m_velocity = forward * speed;
    m_acceleration = maVector3d();
}

float coTrain::GetFraction() const {
    return HasLength() ? m_distance / m_circuitLength : 0.0f;
}

void coTrain::Step(float dt) {
    // Gravity divides by the car count and G reads the lead car: a train without cars stays put.
    if (m_cars.empty())
        return;
    ApplyForces(dt);
    Move(dt);
    PlaceCars();
    MeasureAcceleration(dt);
}

// Gravity from the car axes of the previous placement, then drag and the track elements in a fixed order.
void coTrain::ApplyForces(float dt) {
    float slope = 0.0f;
    bool chain = false, retarder = false;
    for (const coTrainCar& car : m_cars) {
        slope += car.frame.GetZAxis().y;
        chain = chain || car.element == coElementChainLift;
        retarder = retarder || car.element == coElementRetarder;
    }
    m_speed = m_speed + -slope * (kGravity / static_cast<float>(m_cars.size())) * dt;

    if (g_dragOn) {
        const float drag = m_speed * m_speed * kDragCoefficient * dt;
        m_speed = m_speed > 0.0f ? m_speed - drag : m_speed + drag;
    }

    if (chain && m_speed >= kChainLowest && m_speed < kChainSpeed)
        m_speed = kChainSpeed;

    // Each braking car takes off its share of the speed the brakes met, towards 0 in either direction.
    const float braked = m_speed;
    for (const coTrainCar& car : m_cars) {
        if (car.element == coElementBrakes)
            m_speed = m_speed - kBrakeFactor * braked * dt;
    }

    const float boosted = m_speed;
    const float direction = boosted <= kBoosterBackwards ? -1.0f : 1.0f;
    for (const coTrainCar& car : m_cars) {
        if (car.element == coElementBooster)
            m_speed = m_speed + kBoosterAcceleration * direction * dt;
    }

    if (retarder)
        m_speed = kRetarderSpeed;
}

void coTrain::Move(float dt) {
    m_distance = m_distance + m_speed * dt;
    if (HasLength())
        m_distance = WrapDistance(m_distance, m_circuitLength);
}

bool coTrain::HasLength() const {
    return m_circuitLength > 0.0f && std::isfinite(m_circuitLength);
}

void coTrain::PlaceCars() {
    // Without a length there is nothing to stand on, and the walks below would never end.
    if (!HasLength())
        return;
    for (size_t i = 0; i < m_cars.size(); ++i)
        PlaceCar(m_cars[i], m_offsets[i], i == 0 || !m_leadFrameOnly);
}

// Walks from the car's current piece along the links, so a step costs about one frame evaluation.
void coTrain::PlaceCar(coTrainCar& car, float offset, bool fullFrame) {
    // Wrapped both ways: a car set ahead of the train (a negative offset) would otherwise walk the
    // links lap after lap, and for a far offset never arrive.
    float d = WrapDistance(m_distance - offset, m_circuitLength);

    if (!car.piece) {
        FindPiece(car, d);
    } else if (coCircuitPieceCount() >= 2) {
        while (d >= car.pieceStart + car.piece->GetLength()) {
            if (coCoasterPiece* next = car.piece->GetNext()) {
                car.pieceStart = car.pieceStart + car.piece->GetLength();
                car.piece = next;
            } else {
                car.piece = coCircuitFirstPiece();
                car.pieceStart = 0.0f;
                d = d - m_circuitLength;
            }
            car.element = car.piece->GetElement();
        }
        while (d < car.pieceStart) {
            if (coCoasterPiece* previous = car.piece->GetPrevious()) {
                car.piece = previous;
                car.pieceStart = car.pieceStart - previous->GetLength();
            } else {
                car.piece = coCircuitLastPiece();
                car.pieceStart = m_circuitLength - car.piece->GetLength();
                d = d + m_circuitLength;
            }
            car.element = car.piece->GetElement();
        }
    }

    // A piece without length has only its start to offer.
    const float length = car.piece->GetLength();
    const float s = length > 0.0f ? (d - car.pieceStart) / length : 0.0f;
    if (fullFrame) {
        car.frame = car.piece->FrameAt(s);
    } else {
        const maVector3d forward = car.piece->ForwardAt(s);
        car.frame.m[8] = forward.x;
        car.frame.m[9] = forward.y;
        car.frame.m[10] = forward.z;
    }
}

// The first piece whose end lies beyond d (in [0, length)); the last piece takes what rounding leaves.
void coTrain::FindPiece(coTrainCar& car, float d) const {
    const int count = coCircuitPieceCount();
    float start = 0.0f;
    for (int i = 0; i < count; ++i) {
        coCoasterPiece* piece = coCircuitPieceAt(i);
        const float end = start + piece->GetLength();
        if (i == count - 1 || end > d) {
            car.piece = piece;
            car.pieceStart = start;
            car.element = piece->GetElement();
            return;
        }
        start = end;
    }
}

// The felt acceleration: the change of the lead car's velocity over the step plus the pull of gravity
// (world up), in the lead car's own axes.
void coTrain::MeasureAcceleration(float dt) {
    const maMatrix4d& frame = m_cars.front().frame;
    maVector3d forward = frame.GetZAxis();
    const float length = forward.Length();
    if (length > 0.0f)
        forward = forward / length;
    const maVector3d velocity = forward * m_speed;

    maVector3d g;
    if (dt > 0.0f)
        g = (velocity - m_velocity) / (kGravity * dt);
    g.y = g.y + 1.0f;

    maMatrix3d toCar = frame.GetRotationPart();
    toCar.Invert();
    toCar.TransformInPlace(g);
    m_acceleration = g;
    m_velocity = velocity;
}
