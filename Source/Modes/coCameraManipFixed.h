#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/Sc/scCameraManip.h"

#include <map>

class coCoasterPiece;

// Ride camera 2: posts beside the track, about one every 60 units and one before every loop or
// corkscrew, each watching the train from where it was set up. The posts are rebuilt on every attach.
class coCameraManipFixed : public scCameraManip {
  public:
    void Attach(g3dCamera* camera, bool keepView) override;
    void Update() override;

    // The post a piece would get: one of the nine candidates beside its last half, random among those
    // clear of props (raised above the ground), else the first.
    static maVector3d ChoosePost(const coCoasterPiece& piece);
    void BuildPosts();
    // Whether the piece has a post, and where.
    bool HasPost(const coCoasterPiece* piece) const;
    const maVector3d& GetPosition() const { return m_position; }
    const maVector3d& GetTarget() const { return m_target; }

  private:
    void SetPost(const coCoasterPiece* piece, const maVector3d& post);

    maVector3d m_position;
    maVector3d m_target;
    // Keys are only compared, never followed: a piece deleted since the build finds nothing.
    std::map<const coCoasterPiece*, bool> m_hasCamera;
    std::map<const coCoasterPiece*, maVector3d> m_posts;
};
