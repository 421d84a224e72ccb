#pragma once
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Graphics/G3d/g3dFragmentFixture.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Track/coTrackTestSupport.h"
#include "Source/TrackGeom/coCrossSection.h"
#include "Source/TrackGeom/coTrackObjects.h"

#include <memory>
#include <tuple>
#include <vector>

// A straight along +z from the start whose sampled length is exactly L (two distinct samples) and whose
// frame at s has the plain axes rolled about z by the piece's roll, and the point start + (0, 0, s L).
class coExactLinePiece : public coTestLinePiece {
  public:
    explicit coExactLinePiece(float length, const maVector3d& start = maVector3d(0.0f, 0.0f, 0.0f),
                              float roll = 0.0f)
        : coTestLinePiece(length), m_exact(length) {
        SetRoll(roll);
        Place(start, 0.0f);
    }
    maMatrix4d FrameAt(float s) const override {
        maMatrix4d frame;
        frame.SetRotationZ(GetRoll(0));
        frame.ReplaceTranslation(GetStart() + maVector3d(0.0f, 0.0f, s * m_exact));
        return frame;
    }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override {
        if (direction)
            *direction = maVector3d(0.0f, 0.0f, 1.0f);
        return GetStart() + maVector3d(0.0f, 0.0f, t < 0.5f ? 0.0f : m_exact);
    }

  private:
    float m_exact;
};

// The fake device with the fragment manager, the log captured.
class coTrackSceneTest : public g3dFragmentFixture {
  protected:
    // Every object of every group of the set, as the default maker made them.
    static std::vector<const coTrackObject*> Objects(const coSceneObjectSet& set, int group = -1) {
        std::vector<const coTrackObject*> objects;
        for (int g = 0; g < set.GetGroupCount(); ++g) {
            if (group >= 0 && g != group)
                continue;
            for (const auto& object : set.GetGroup(g))
                objects.push_back(dynamic_cast<const coTrackObject*>(object.get()));
        }
        return objects;
    }
    template <class Section>
    static std::unique_ptr<Section> MakeSection(std::vector<maVector2d> outline, bool transparent = false) {
        auto section = std::make_unique<Section>();
        section->SetVertices(outline.data(), static_cast<int>(outline.size()));
        auto material = std::make_unique<g3dMaterial>();
        if (transparent)
            material->SetDiffuse({1.0f, 1.0f, 1.0f, 0.5f});
        section->SetMaterial(std::move(material));
        return section;
    }

    dbgLogCapture log;
};
