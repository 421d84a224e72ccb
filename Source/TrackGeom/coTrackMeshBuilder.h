#pragma once
#include "Source/Collision/coPickPathMesh.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/TrackGeom/coSupportMaker.h"
#include "Source/TrackGeom/coTrackDefinition.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The drawn objects of one placed piece, each owned and each possibly null but the mesh.
struct coTrackPieceObjects {
    coCoasterPiece* piece = nullptr;
    std::unique_ptr<coSceneObjectSet> mesh;
    std::unique_ptr<coSceneObjectSet> supports;
    std::unique_ptr<coSceneObjectSet> shadow;
    std::unique_ptr<coPickPathMesh> path;
};

// What ResetDefinitionPointers hands over: the builder forgets both without deleting them.
struct coTrackDefinitions {
    std::unique_ptr<coTrackDefinition> track;
    std::unique_ptr<coSupportMaker> supports;
};

// Keeps the drawn circuit in step with its pieces: for every piece its extruded mesh, its supports, its
// shadow and its pick path, registered for collision and picking and rebuilt as edits reach them. It owns
// the current support maker and loads the track and support definitions of the coaster type.
class coTrackMeshBuilder : public coTrackBuilder {
  public:
    coTrackMeshBuilder() = default;
    // Drops every piece's objects, so that the registries let go of them.
    ~coTrackMeshBuilder() override;
    coTrackMeshBuilder(const coTrackMeshBuilder&) = delete;
    coTrackMeshBuilder& operator=(const coTrackMeshBuilder&) = delete;

    void RemovePieceObjects(coCoasterPiece* piece) override;
    void RebuildPieceObjects(coCoasterPiece* piece, int mode) override;
    void RebuildSupports(coCoasterPiece* piece) override;
    void RebuildNearBox(const coWorldBox& box) override;
    void SetPieceFlagged(coCoasterPiece* piece, bool flagged) override;
    coCoasterPiece* FindPieceByCollisionPath(const coPickPathMesh* path) const override;
    int GetShadowsEnabled() const override;
    void GetPieceBounds(const coCoasterPiece* piece, coWorldBox& out) const override;
    void GetTrackBounds(coWorldBox& out) const override;
    void ShowTrackObjects(bool show) override;
    void RefreshShadows() override;

    // Objects built with the old definition or maker point at their materials: every piece's objects are
    // dropped first. A file or chunk error passes to the caller; what was read stays current.
    void LoadTrackDefinition(const std::string& fileName);
    // Wooden walls for the type named exactly "Wooden" or one whose definition asks for them, else poles.
    void LoadSupportDefinition(const std::string& fileName);
    // The current one, loading "Track.def" or "Support.def" first when there is none.
    coTrackDefinition& GetTrackDefinition();
    coSupportMaker& GetSupportMaker();
    // Drops every piece's objects, then makes the maker current.
    void SetSupportMaker(std::unique_ptr<coSupportMaker> maker);
    // Empties the flagged list, drops every piece's objects and deletes both definitions.
    void FreeDefinitions();
    // Forgets both definitions without deleting them: the caller takes them.
    [[nodiscard]] coTrackDefinitions ResetDefinitionPointers();

    void CreateShadowMaterial();
    // Every shadow is dropped first, since its fragment points at the material.
    void DestroyShadowMaterial();

    // The piece's objects, or null when it has none.
    const coTrackPieceObjects* GetPieceObjects(const coCoasterPiece* piece) const;
    int GetEntryCount() const { return static_cast<int>(m_registry.size()); }

  private:
    coTrackPieceObjects* Find(const coCoasterPiece* piece);
    void BuildPieceObjects(coCoasterPiece* piece);
    // Unregisters and deletes the entry's objects; the entry stays.
    void DropObjects(coTrackPieceObjects& entry);
    // A new maker of the current type's kind, made current, then filled from the file.
    void MakeSupportMaker(const std::string& fileName);
    void DropSupports(coTrackPieceObjects& entry);
    // A new support set from the maker; registered and kept when it built something or `keepEmpty`.
    void MakeSupports(coTrackPieceObjects& entry, bool keepEmpty);
    void MakePath(coTrackPieceObjects& entry);
    void DropPath(coTrackPieceObjects& entry);
    void DropAll();

    // Keyed by the pieces' serials, so walks follow the order pieces were made, not their addresses.
    std::map<u64, coTrackPieceObjects> m_registry;
    std::vector<const coCoasterPiece*> m_flagged;
    std::unique_ptr<coSupportMaker> m_supportMaker;
};
