#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/World/coPropListChunk.h"

#include <memory>
#include <string>

class chReader;
class chWriter;

// What the coaster file asks of the rest of the game besides the track and its colours: the definitions,
// the world, the ride music and sounds, the environment, the loading dock, the props, the theme names
// and the loading screen. Their subsystems install their implementation; until then the defaults below
// hold (the coaster package loader and its hooks, no dock, an empty prop list, the music contexts'
// choices, the ride event sounds' set).
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
    // The name of the selected ride event sound set (its fanfare's theme folder); empty when none. By
    // default the ride event sounds' own.
    virtual std::string GetRideSoundSet() const;
    virtual void SelectRideSoundSet(const std::string& name);

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
    // Puts the track props on their pieces once the circuit stands.
    virtual void PlaceTrackProps();
    // The coaster's thumbnail chunk (CSNP, version 1), written after the props by binary saves of a
    // circuit with pieces; none by default.
    virtual void WriteThumbnail(chWriter&) const {}

    // A folder's display name from the theme list (UTF-8 both ways); the folder name when it has none.
    virtual std::string GetDisplayName(const std::string& folder) const;

    virtual void ShowLoadingScreen(bool restart);
    // Shows the loading screen again, its progress continuing.
    virtual void StepLoadingScreen();
};

coSavedCoasterServices& coGetSavedCoasterServices();
// Not owned; null restores the defaults.
void coSetSavedCoasterServices(coSavedCoasterServices* services);
