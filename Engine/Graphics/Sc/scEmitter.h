#pragma once
#include "Engine/Core/Ma/maVector.h"

// Where, in a particle generator's local emission space, the next particle is born. Emitters are owned
// by their generator. Random draws come from the program's one sequence, in a fixed order per shape.
class scEmitter {
  public:
    virtual ~scEmitter() = default;
    virtual maVector3d& GetPoint(maVector3d& out) = 0;
};

// Every particle is born at the origin; nothing is drawn.
class scPointEmitter : public scEmitter {
  public:
    maVector3d& GetPoint(maVector3d& out) override;
};

// A point anywhere in a box centred on the origin, edges included; draws z, then y, then x.
class scBlockEmitter : public scEmitter {
  public:
    // The full edge lengths along x, y and z.
    scBlockEmitter(float sizeX, float sizeY, float sizeZ);
    maVector3d& GetPoint(maVector3d& out) override;

  private:
    float m_halfX;
    float m_halfY;
    float m_halfZ;
};

// A point spread evenly over a disc in the x-y plane; draws the radius, then the angle.
class scCircleEmitter : public scEmitter {
  public:
    explicit scCircleEmitter(float radius) : m_radius(radius) {}
    maVector3d& GetPoint(maVector3d& out) override;

  private:
    float m_radius;
};
