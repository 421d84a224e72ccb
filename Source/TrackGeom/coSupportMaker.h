#pragma once
#include "Source/Scene/coModelHolder.h"
#include "Source/TrackGeom/coCrossSection.h"

#include <memory>
#include <string>
#include <vector>

class coCoasterPiece;
class coSceneObjectSet;

// A cross-section extruded along every pole segment.
class coSupportPole : public coCrossSection {};

// A wall plane hung below the track.
struct coSupportPlane {
    // Replaces (and deletes) the material held before.
    void SetMaterial(std::unique_ptr<g3dMaterial> surface) { material = std::move(surface); }

    // Null when the plane was read without one.
    std::unique_ptr<g3dMaterial> material;
    // Height of one texture repeat, and the sample spacing along the piece.
    float spacing = 4.0f;
    i32 group = 0;
    std::string name;
};

// A model placed along a pole ("PoleGeom"), where two legs meet ("JointGeom") or where one leg stands
// alone ("HalfJoint").
struct coSupportGeometry {
    // Null until a Geometry child is read.
    std::unique_ptr<coModelHolder> model;
    i32 group = 0;
    std::string name;
};

// The building blocks of a coaster type's supports, read from "Support.def", and the three numbers that
// steer their layout. Subclasses build the supports of one piece at a time.
class coSupportMaker {
  public:
    virtual ~coSupportMaker() = default;
    coSupportMaker(const coSupportMaker&) = delete;
    coSupportMaker& operator=(const coSupportMaker&) = delete;

    // Builds the piece's supports into its set; true when at least one object was added.
    virtual bool MakeSupports(const coCoasterPiece& piece, coSceneObjectSet& set) = 0;
    // Nothing to do: the builder discards the piece's set itself.
    virtual void RemoveSupports(const coCoasterPiece&, coSceneObjectSet&) {}

    void AddPole(std::unique_ptr<coSupportPole> pole) { m_poles.push_back(std::move(pole)); }
    void AddPlane(std::unique_ptr<coSupportPlane> plane) { m_planes.push_back(std::move(plane)); }
    void AddPoleGeometry(std::unique_ptr<coSupportGeometry> entry) {
        m_poleGeometry.push_back(std::move(entry));
    }
    void AddJointGeometry(std::unique_ptr<coSupportGeometry> entry) {
        m_jointGeometry.push_back(std::move(entry));
    }
    void AddHalfJointGeometry(std::unique_ptr<coSupportGeometry> entry) {
        m_halfJointGeometry.push_back(std::move(entry));
    }

    const std::vector<std::unique_ptr<coSupportPole>>& GetPoles() const { return m_poles; }
    const std::vector<std::unique_ptr<coSupportPlane>>& GetPlanes() const { return m_planes; }
    const std::vector<std::unique_ptr<coSupportGeometry>>& GetPoleGeometry() const { return m_poleGeometry; }
    const std::vector<std::unique_ptr<coSupportGeometry>>& GetJointGeometry() const {
        return m_jointGeometry;
    }
    const std::vector<std::unique_ptr<coSupportGeometry>>& GetHalfJointGeometry() const {
        return m_halfJointGeometry;
    }

    // Sideways reach of arms and legs; height of a portal's attachment; lean of its legs in degrees.
    float GetXOffset() const { return m_xOffset; }
    void SetXOffset(float offset) { m_xOffset = offset; }
    float GetYOffset() const { return m_yOffset; }
    void SetYOffset(float offset) { m_yOffset = offset; }
    float GetSupportAngle() const { return m_supportAngle; }
    void SetSupportAngle(float degrees) { m_supportAngle = degrees; }

    // For a colour scheme: the materials of the poles, then the planes, then the models of the pole,
    // joint and half joint entries whose name is exactly the part's.
    void CollectMaterials(const std::string& part, std::vector<g3dMaterial*>& out) const;

  protected:
    coSupportMaker(float xOffset, float yOffset, float supportAngle)
        : m_xOffset(xOffset), m_yOffset(yOffset), m_supportAngle(supportAngle) {}

  private:
    std::vector<std::unique_ptr<coSupportPole>> m_poles;
    std::vector<std::unique_ptr<coSupportGeometry>> m_poleGeometry;
    std::vector<std::unique_ptr<coSupportGeometry>> m_jointGeometry;
    std::vector<std::unique_ptr<coSupportGeometry>> m_halfJointGeometry;
    std::vector<std::unique_ptr<coSupportPlane>> m_planes;
    float m_xOffset;
    float m_yOffset;
    float m_supportAngle;
};
