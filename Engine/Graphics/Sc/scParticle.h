#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/An/anTypedAnimation.h"
#include "Engine/Graphics/G3d/g3dModel.h"

#include <array>
#include <cstddef>

class scBlockPool;

// What a generator's particle walk shares with every particle it updates or makes in one update.
struct scParticleContext {
    const anTypedAnimation<float>* curve = nullptr; // alpha over the normalised age; null keeps 1.0
    maBoundingBox* box = nullptr;                   // collected from every position
    bool linearGrowth = false;
    // Linear: size per second; exponential: the log of the factor per second, when there is one.
    float growthRate = 0.0f;
    bool hasGrowthFactor = true;
    i32 frameCount = 0; // of the animated texture, 0 without one
    bool randomFrames = false;
};

// What one emission drew, with the values the whole update shares; handed to the new particle.
struct scEmission {
    // The kind's parameters; missing ones read 0.
    std::array<float, 26> p{};
    // The generator's rotation with its scale, and the turn of +z onto the emit direction.
    maMatrix3d generatorMatrix;
    maMatrix3d directionMatrix;
    maVector3d acceleration; // cone: of every particle; spiral: of every centre
    maVector3d axisVelocity; // spiral: of every centre
    bool drawFrames = false; // an animated texture shown one random frame a particle
    i32 frameCount = 0;

    maVector3d point; // where the particle is born, in the world
    i32 frame = 0;
    maVector3d velocity;       // cone
    float startAngle = 0.0f;   // spiral, degrees
    float angularSpeed = 0.0f; // spiral, degrees per second

    // 0, or a random frame of the animated texture (-1 when it has none).
    void DrawFrame();
};

// A particle record. It is a sprite first, so a generator's particle list is its sprite group's sprite
// list and nothing is copied for drawing. Records of each kind come from that kind's block pool, never
// one by one from the heap: the pool's allocation answers null when the pool is full, and no particle
// is made.
struct scParticle : g3dSprite {
    scParticle* Next() const { return static_cast<scParticle*>(next); }
    scParticle* Previous() const { return static_cast<scParticle*>(previous); }

    float age = 0.0f;
    float life = 0.0f;
    float angularSpeed = 0.0f;
    float angularAcceleration = 0.0f;
    bool dead = false;

  protected:
    // Draws the angular acceleration, angular speed, rotation and life, in that order.
    scParticle(const scEmission& emission, const scParticleContext& context);
    // Ages the particle and sets its frame; returns the normalised age (1 when the life is not above 0).
    float BeginUpdate(float dt, const scParticleContext& context);
    // Turns, fades, dies past its life, grows, and widens the box by the position.
    void EndUpdate(float dt, float t, const scParticleContext& context);
};

// Stays where it was born; only turns, grows and fades.
struct scStaticParticle : scParticle {
    scStaticParticle(const scEmission& emission, const scParticleContext& context);
    void Update(float dt, const scParticleContext& context);

    static void PrepareEmissions(scEmission&) {}
    static void DrawEmission(scEmission& emission) { emission.DrawFrame(); }
    static scBlockPool& Pool();
    static void* operator new(std::size_t) noexcept;
    static void operator delete(void* block) noexcept;
};

// Flies off with its velocity under a constant acceleration.
struct scConeParticle : scParticle {
    scConeParticle(const scEmission& emission, const scParticleContext& context);
    void Update(float dt, const scParticleContext& context);

    static void PrepareEmissions(scEmission& emission);
    static void DrawEmission(scEmission& emission);
    static scBlockPool& Pool();
    static void* operator new(std::size_t) noexcept;
    static void operator delete(void* block) noexcept;

    maVector3d velocity;
    maVector3d acceleration;
};

// Circles a centre that moves along an axis; the circle lies across the centre's velocity.
struct scSpiralParticle : scParticle {
    // Places the particle at once, even one born past its life.
    scSpiralParticle(const scEmission& emission, const scParticleContext& context);
    void Update(float dt, const scParticleContext& context);

    static void PrepareEmissions(scEmission& emission);
    static void DrawEmission(scEmission& emission);
    static scBlockPool& Pool();
    static void* operator new(std::size_t) noexcept;
    static void operator delete(void* block) noexcept;

    maVector3d centre;
    maVector3d centreVelocity;
    maVector3d centreAcceleration;
    float spiralAngle = 0.0f; // degrees
    float spiralSpeed = 0.0f; // degrees per second
    float radius = 0.0f;
    float radiusGrowth = 0.0f; // per second
};
