#pragma once
#include "Source/App/coSelectionMarker.h"
#include "Source/Modes/coEditorWorld.h"

// The editor's view of the running game's park: picked objects are the placed props, the loading dock,
// the target rings and the spot objects; pieces are framed by their track meshes.
class coGameEditorWorld : public coEditorWorld {
  public:
    Target Classify(coObject* object) const override;
    coObject* GetDockObject(coLoadingDock* dock) const override;
    bool GetObjectBox(const coObject* object, maBoundingBox& box) const override;
    maBoundingBox GetPieceBox(const coCoasterPiece& piece) const override;
    void RemoveProp(coProp* prop) override;
    void FreeDock() override;
    coCoasterPiece* FindPieceByCollisionPath(const coPickPathMesh* path) const override;
    void ShowSelectionMarker(bool shown, const maVector3d& position, const maVector3d& scale) override;
    void FreeSelectionMarker() override;

  private:
    coSelectionMarker m_marker;
};
