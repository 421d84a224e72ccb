#include "Engine/Graphics/Sc/scParticle.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Graphics/Sc/scBlockPool.h"

#include <cmath>

namespace {

constexpr i32 kBlocksPerChunk = 256;

template <class Particle> scBlockPool& PoolOf() {
    static scBlockPool pool;
    static const bool ready = (pool.Init(sizeof(Particle), kBlocksPerChunk), true);
    (void)ready;
    return pool;
}

} // namespace

void scEmission::DrawFrame() {
    frame = 0;
    // A flip-book of no frames has no frame to draw from.
    if (drawFrames)
        frame = frameCount > 0 ? static_cast<i32>(maRandomInt() % static_cast<u32>(frameCount)) : -1;
}

scParticle::scParticle(const scEmission& emission, const scParticleContext& context) {
    const auto& p = emission.p;
    frame = emission.frame;
    angularAcceleration = maRandomFloat(p[10], p[11]);
    angularSpeed = maRandomFloat(p[8], p[9]);
    rotation = maRandomFloat(p[6], p[7]);
    life = maRandomFloat(p[0], p[1]);
    size = p[4];
    alpha = context.curve ? context.curve->Evaluate(0.0f) : 1.0f;
}

float scParticle::BeginUpdate(float dt, const scParticleContext& context) {
    age += dt;
    // A life of 0 or less has no span to divide: the particle counts as at its end.
    const float t = life > 0.0f ? age / life : 1.0f;
    if (!context.randomFrames) {
        // Compared as a float first, so a huge or NaN product never reaches the conversion.
        const float f = static_cast<float>(context.frameCount) * t;
        if (!(f < static_cast<float>(context.frameCount)))
            frame = context.frameCount - 1;
        else if (f < 0.0f)
            frame = 0;
        else
            frame = static_cast<i32>(f);
    }
    return t;
}

void scParticle::EndUpdate(float dt, float t, const scParticleContext& context) {
    angularSpeed += angularAcceleration * dt;
    rotation += angularSpeed * dt;
    if (context.curve)
        alpha = context.curve->Evaluate(t);
    if (age > life)
        dead = true;
    if (context.linearGrowth)
        size += context.growthRate * dt;
    else if (dt != 0.0f)
        // A factor of 0 or less per second has no logarithm: the particle vanishes.
        size = context.hasGrowthFactor ? size * std::exp(context.growthRate * dt) : 0.0f;
    context.box->AddPoint(position);
}

scStaticParticle::scStaticParticle(const scEmission& emission, const scParticleContext& context)
    : scParticle(emission, context) {
    position = emission.point;
}

void scStaticParticle::Update(float dt, const scParticleContext& context) {
    EndUpdate(dt, BeginUpdate(dt, context), context);
}

scConeParticle::scConeParticle(const scEmission& emission, const scParticleContext& context)
    : scParticle(emission, context), velocity(emission.velocity), acceleration(emission.acceleration) {
    position = emission.point;
}

void scConeParticle::Update(float dt, const scParticleContext& context) {
    const float t = BeginUpdate(dt, context);
    const maVector3d was = velocity;
    velocity = velocity + acceleration * dt;
    position = position + (was + velocity) * (dt * 0.5f);
    EndUpdate(dt, t, context);
}

void scConeParticle::PrepareEmissions(scEmission& emission) {
    emission.acceleration = maVector3d(emission.p[15], emission.p[16], emission.p[17]);
}

void scConeParticle::DrawEmission(scEmission& emission) {
    const auto& p = emission.p;
    emission.DrawFrame();
    const float theta = maRandomFloat(-p[12], p[12]);
    const float phi = maRandomFloat(0.0f, maTwoPiF);
    const float speed = maRandomFloat(p[13], p[14]);
    maVector3d v(std::cos(phi) * std::sin(theta), std::sin(phi) * std::sin(theta), std::cos(theta));
    v = v * speed;
    emission.directionMatrix.TransformInPlace(v);
    emission.generatorMatrix.TransformInPlace(v);
    emission.velocity = v;
}

scSpiralParticle::scSpiralParticle(const scEmission& emission, const scParticleContext& context)
    : scParticle(emission, context), centre(emission.point), centreVelocity(emission.axisVelocity),
      centreAcceleration(emission.acceleration), spiralAngle(emission.startAngle),
      spiralSpeed(emission.angularSpeed), radius(emission.p[24]), radiusGrowth(emission.p[25]) {
    Update(0.0f, context);
}

void scSpiralParticle::Update(float dt, const scParticleContext& context) {
    const float t = BeginUpdate(dt, context);
    const maVector3d was = centreVelocity;
    centreVelocity = centreVelocity + centreAcceleration * dt;
    centre = centre + (was + centreVelocity) * (dt * 0.5f);
    spiralAngle += dt * spiralSpeed;
    radius += dt * radiusGrowth;
    const float a = spiralAngle * maPiF / 180.0f;
    maVector3d offset(std::cos(a) * radius, 0.0f, std::sin(a) * radius);
    // The circle lies across the axis: its y turns onto the centre's velocity.
    if (centreVelocity.x != 0.0f || centreVelocity.y != 0.0f || centreVelocity.z != 0.0f) {
        maRotation turn;
        turn.SetFromVectors(maVector3d(0.0f, 1.0f, 0.0f), centreVelocity);
        turn.Rotate(offset);
    }
    position = centre + offset;
    EndUpdate(dt, t, context);
}

void scSpiralParticle::PrepareEmissions(scEmission& emission) {
    const auto& p = emission.p;
    emission.axisVelocity = maVector3d(p[14], p[15], p[16]) * maRandomFloat(p[12], p[13]);
    emission.acceleration = maVector3d(p[17], p[18], p[19]);
}

void scSpiralParticle::DrawEmission(scEmission& emission) {
    const auto& p = emission.p;
    emission.startAngle = maRandomFloat(p[20], p[21]);
    emission.angularSpeed = maRandomFloat(p[22], p[23]);
    emission.DrawFrame();
}

scBlockPool& scStaticParticle::Pool() {
    return PoolOf<scStaticParticle>();
}
void* scStaticParticle::operator new(std::size_t) noexcept {
    return Pool().Alloc();
}
void scStaticParticle::operator delete(void* block) noexcept {
    Pool().Release(block);
}

scBlockPool& scConeParticle::Pool() {
    return PoolOf<scConeParticle>();
}
void* scConeParticle::operator new(std::size_t) noexcept {
    return Pool().Alloc();
}
void scConeParticle::operator delete(void* block) noexcept {
    Pool().Release(block);
}

scBlockPool& scSpiralParticle::Pool() {
    return PoolOf<scSpiralParticle>();
}
void* scSpiralParticle::operator new(std::size_t) noexcept {
    return Pool().Alloc();
}
void scSpiralParticle::operator delete(void* block) noexcept {
    Pool().Release(block);
}
