#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Source/World/coPropListChunk.h"

#include <list>
#include <memory>
#include <vector>

class chReader;
class chWriter;
class coCoasterPiece;
class coObject;
class coProp;
class coTrackProp;

// Props of a file section, read and not yet placed. A coaster's become props once the world is cleared;
// a mission's are made at once, so that its objectives can name them, and placed as they are.
class coPropRecords : public coPendingProps {
  public:
    ~coPropRecords() override;
    // Nothing when made already.
    void Make();
    // Made now unless made already, and handed over.
    std::vector<std::unique_ptr<coProp>> Take();

    std::vector<coPropRecord> records;
    std::vector<std::unique_ptr<coProp>> props;
    bool made = false;
};

// Every prop standing in the park, in order of adding, and the track props among them. The list owns
// its props. Plain props occupy the placement grid under their bounds; track props stand on the track.
class coPropList {
  public:
    static void Add(std::unique_ptr<coProp> prop);
    // A prop that is not in the list is warned about and left alone.
    static void Remove(coProp* prop);
    // Frees the box's cells on the placement grid, then takes again every cell another plain prop or the
    // dock still stands on: cells are whole, so a neighbour may share one with the leaving object.
    static void FreeGridCells(const maBoundingBox& freed, const coObject* leaving);
    // Deletes every prop, then unloads each template no prop still standing uses (the career keeps
    // props of its own outside the list). The grid is left as it is.
    static void DeleteAll();
    static void CollectAll(std::vector<coProp*>& out);
    static const std::vector<coTrackProp*>& GetTrackProps();

    static void SetAllActive(bool active);
    // One step of every prop's trigger and animation at the game time.
    static void UpdateAll(f32 time);
    static void PauseSounds();
    static void ResumeSounds();
    static void SetAllVisible(bool visible);
    static bool ArePropsShown();
    // Only while props are shown: each prop within "Prop Far Clipping" x 400 + 80 of the camera shows.
    static void CullByDistance(const maVector3d& camera);
    static void UncullAll();
    // Every prop whose bounds overlap the box; touching faces count.
    static void FindInBox(const maBoundingBox& box, std::vector<coProp*>& out);
    static void PlaceAllTrackProps();
    static void RemoveTrackPropsOnPiece(const coCoasterPiece* piece);
    static void MoveTrackProps(const coCoasterPiece* from, coCoasterPiece* to);

    static void WriteChunk(chWriter& writer, const std::vector<coProp*>& props);
    // Makes a prop of every record whose template exists (loading it), in file order; unknown
    // templates are dropped silently.
    static void ReadChunk(chReader& reader, std::vector<std::unique_ptr<coProp>>& out);
    static void MakeProps(const std::vector<coPropRecord>& records,
                          std::vector<std::unique_ptr<coProp>>& out);

  private:
    static std::list<std::unique_ptr<coProp>>& Props();
    static std::vector<coTrackProp*>& TrackProps();
    static bool& Shown();
};

// The prop's file record: a track prop keeps its piece's index (its stored one while unplaced).
coPropRecord coMakePropRecord(const coProp& prop);
