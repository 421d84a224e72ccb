#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maVector.h"

#include <list>

// The base of the game's pickable scene objects. Each one is in the registry from construction to
// destruction, in construction order, so the editor can pick the nearest along a ray.
class coObject {
  public:
    coObject();
    virtual ~coObject();
    coObject(const coObject&) = delete;
    coObject& operator=(const coObject&) = delete;

    // Whether the ray hits the object; on a hit t is the distance along the direction in its lengths.
    virtual bool RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const = 0;
    // The world box, which the builder's tool box keeps beside.
    virtual maBoundingBox GetBoundingBox() const = 0;

    bool IsEnabled() const { return m_enabled != 0; }
    void SetEnabled(bool enabled) { m_enabled = enabled ? 1 : 0; }

  private:
    u8 m_enabled = 1;
    std::list<coObject*>::iterator m_node;
};

// The enabled object hit nearest along the ray, below t = 2.0, with t; the earlier registered wins a tie.
// Null, t untouched, without one.
coObject* coPickObject(const maVector3d& origin, const maVector3d& direction, f32& t);
// Objects registered now.
u32 coGetObjectCount();
