#pragma once
#include "Engine/Graphics/An/anFrameAnimation.h"

struct mayAnimationNode;
class g3dTransformTreeNode;
class scJoint;

// A frame animation of a tree of key tracks read from a model animation file; the tracks are not owned.
// Its duration is the latest key time anywhere in the tree.
class scGeoFrameAnimation : public anFrameAnimation {
  public:
    explicit scGeoFrameAnimation(const mayAnimationNode* frames);

    std::unique_ptr<anAnimInstance> CreateInstance(float startTime) const override;
    std::unique_ptr<anAnimation> Clone() const override;
    const mayAnimationNode* GetFrames() const { return m_frames; }

  private:
    const mayAnimationNode* m_frames;
};

class scGeoFrameAnimInstance : public anFrameAnimInstance {
  public:
    scGeoFrameAnimInstance(float startTime, const scGeoFrameAnimation& animation)
        : anFrameAnimInstance(startTime, animation), m_animation(animation) {}
    const scGeoFrameAnimation& GetAnimation() const { return m_animation; }

  private:
    const scGeoFrameAnimation& m_animation;
};

// What a tree is posed with: track tree a at frame fa, or, cross-fading, a blend s from a to b at fb. A
// side without a node has no tracks.
struct scPose {
    bool crossFade = false;
    const mayAnimationNode* a = nullptr;
    const mayAnimationNode* b = nullptr;
    float fa = 0.0f;
    float fb = 0.0f;
    float s = 0.0f;
};

// Poses the node and, child by child, its children from the tracks; a child without a track node on
// either side ends the walk there. Nodes with tracks get rotation (times a hierarchy joint's
// orientation), then translation.
void scPoseHierarchy(g3dTransformTreeNode& node, const scPose& pose);
// Sets each joint's translation and rotation from the tracks that exist, the same walk.
void scPoseJoints(scJoint& joint, const scPose& pose);
