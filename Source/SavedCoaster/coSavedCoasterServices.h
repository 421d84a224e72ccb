#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/World/coPropListChunk.h"

#include <memory>
#include <string>

class chReader;
class chWriter;

// What the coaster file asks of the park around the track: the definitions, the scene, the ride music, the
// environment, the loading dock, the props, the theme names and the thumbnail. The defaults below ask the
// game's own areas (the coaster package loader and its hooks, no dock, the prop list, the music contexts);
// the game installs coGameCoasterServices for the dock and the thumbnail. The rest is a seam for tests:
// their small worlds stand in for definitions, props and docks that would need content or a device.
class coSavedCoasterServices {
  public:
    virtual ~coSavedCoasterServices() = default;

    // Makes the environment and the coaster type current (coLoadCoasterDefinitions).
    virtual void LoadCoasterDefinitions(const std::string& environment, const std::string& coasterType,
                                        int environmentIndex);
    // The current definition's cars per train; the default sets the definition store's.
    virtual void SetNumCars(int cars);

    // Empties every game-world component (track, props, rings, dock, terrain, statistics) before another
    // coaster is put in (coClearScene by default).
    virtual void ClearScene();

    // The music list's track number and folder (the ride music is list 2): by default the choice and own
    // track of that music context, silence (5) before the music has started.
    virtual int GetMusicTrack(int list) const;
    virtual void SetMusicTrack(int list, int track);
    virtual fsLocator GetMusicFolder(int list) const;
    virtual void SetMusicFolder(int list, const fsLocator& folder);

    // The current environment's name (empty when none) and index.
    virtual std::string GetEnvironmentName() const;
    virtual int GetEnvironmentIndex() const;

    // False without a loading dock; else its position, heading and type name.
    virtual bool GetDock(maVector3d& /*position*/, float& /*heading*/, std::string& /*type*/) const {
        return false;
    }
    // Frees the old dock and loads the dock model of the type.
    virtual void LoadDock(const std::string& /*type*/) {}
    // Places the dock and enters its box in the prop placement grid.
    virtual void PlaceDock(const maVector3d& /*position*/, float /*heading*/) {}
    // Puts the loaded circuit's first piece at the placed dock, where the builder had it: the file keeps
    // the dock's pose, not the track's.
    virtual void AttachTrackToDock() {}

    // The chunk of every placed prop, from the prop list by default.
    virtual void WriteProps(chWriter& writer) const;
    // The props of a prop chunk (the reader inside it), not made yet: by default the prop list's records.
    virtual std::unique_ptr<coPendingProps> ReadProps(chReader&, u16 version, u32 size) const;
    // Makes the props read (after the world was cleared) and adds them to the prop list.
    virtual void PlaceProps(coPendingProps&);
    // The coaster's thumbnail chunk (CSNP, version 1), written after the props by binary saves of a
    // circuit with pieces; none by default.
    virtual void WriteThumbnail(chWriter&) const {}

    // A folder's display name from the theme list (UTF-8 both ways); the folder name when it has none.
    virtual std::string GetDisplayName(const std::string& folder) const;
};

coSavedCoasterServices& coGetSavedCoasterServices();
// Not owned; null restores the defaults.
void coSetSavedCoasterServices(coSavedCoasterServices* services);
