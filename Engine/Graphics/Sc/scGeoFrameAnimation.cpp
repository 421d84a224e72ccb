#include "Engine/Graphics/Sc/scGeoFrameAnimation.h"

#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Engine/Graphics/Sc/scJoint.h"

#include <algorithm>

namespace {

float LastFrame(const mayAnimationNode& node, float value) {
    if (node.positions)
        value = std::max(value, node.positions->GetLastTime());
    if (node.rotations)
        value = std::max(value, node.rotations->GetLastTime());
    for (const auto& child : node.children)
        value = LastFrame(*child, value);
    return value;
}

maVector3d PositionAt(const mayAnimationNode* node, float f) {
    return node && node->positions ? node->positions->Evaluate(f) : maVector3d(0, 0, 0);
}

maRotation RotationAt(const mayAnimationNode* node, float f) {
    if (!node || !node->rotations)
        return {};
    const auto [a, b] = node->rotations->FindKeys(f);
    if (!a || a->time == b->time)
        return a ? a->value : maRotation();
    maRotation r;
    r.Slerp(a->value, b->value, (f - a->time) / (b->time - a->time));
    return r;
}

bool HasTracks(const mayAnimationNode* node) {
    return node && (node->positions || node->rotations);
}

const mayAnimationNode* ChildOf(const mayAnimationNode* node, u32 index) {
    return node && index < node->children.size() ? node->children[index].get() : nullptr;
}

// The pose of the child tracks at index, or none when neither side has a node there.
bool ChildPose(const scPose& pose, u32 index, scPose& child) {
    child = pose;
    child.a = ChildOf(pose.a, index);
    child.b = ChildOf(pose.b, index);
    return child.a || child.b;
}

maVector3d PosePosition(const scPose& pose) {
    const maVector3d pa = PositionAt(pose.a, pose.fa);
    return pose.crossFade ? pa + (PositionAt(pose.b, pose.fb) - pa) * pose.s : pa;
}

maRotation PoseRotation(const scPose& pose) {
    maRotation r = RotationAt(pose.a, pose.fa);
    if (pose.crossFade)
        r.Slerp(maRotation(r), RotationAt(pose.b, pose.fb), pose.s);
    return r;
}

} // namespace

scGeoFrameAnimation::scGeoFrameAnimation(const mayAnimationNode* frames) : m_frames(frames) {
    SetDuration(frames ? LastFrame(*frames, 0.0f) : 0.0f);
}

std::unique_ptr<anAnimInstance> scGeoFrameAnimation::CreateInstance(float startTime) const {
    return std::make_unique<scGeoFrameAnimInstance>(startTime, *this);
}

std::unique_ptr<anAnimation> scGeoFrameAnimation::Clone() const {
    return std::make_unique<scGeoFrameAnimation>(*this);
}

void scPoseHierarchy(g3dTransformTreeNode& node, const scPose& pose) {
    if (HasTracks(pose.a) || HasTracks(pose.b)) {
        maMatrix4d m = PoseRotation(pose).GetMatrix();
        if (const auto* joint = dynamic_cast<const scHJoint*>(&node))
            m = m * joint->GetOrientation();
        const maVector3d p = PosePosition(pose);
        m.Translate(p.x, p.y, p.z);
        node.GetLocalMatrix() = m;
    }
    scPose child;
    for (u32 i = 0; i < node.GetChildCount(); ++i)
        if (ChildPose(pose, i, child))
            scPoseHierarchy(*node.GetChild(i), child);
}

void scPoseJoints(scJoint& joint, const scPose& pose) {
    const bool positions = (pose.a && pose.a->positions) || (pose.b && pose.b->positions);
    const bool rotations = (pose.a && pose.a->rotations) || (pose.b && pose.b->rotations);
    if (positions) {
        const maVector3d p = PosePosition(pose);
        joint.SetTranslation(p.x, p.y, p.z);
    }
    if (rotations)
        joint.SetRotation(PoseRotation(pose));
    scPose child;
    for (u32 i = 0; i < joint.GetChildCount(); ++i)
        if (auto* next = dynamic_cast<scJoint*>(joint.GetChild(i)); next && ChildPose(pose, i, child))
            scPoseJoints(*next, child);
}
