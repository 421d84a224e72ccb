#pragma once
#include "Engine/App/Ch/chTxtReader.h"

#include <functional>
#include <memory>
#include <string>

class chReader;
class coModelHolder;
class coTrackDefinition;
struct coTrackCrossbar;

// "Track.def": a "Track" chunk of sections ("Rail", "Chain", "Brakes", "Booster", "Retarder", "Tube",
// each in the cross-section vocabulary) and crossbars ("Cross": "Geometry", "Name", "Spacing").

// The cross-section names first, then the track definition's own.
void registerTrackDefinitionTags(chTagMap& tags);
// Enters the first chunk, whatever its id, and hands each chunk inside it to readChild by its id, leaving
// each after; an empty file reads nothing. The track and the support definitions are read so.
void coReadDefinitionChunks(chReader& reader, const std::function<void(u32 id)>& readChild);
// Enters the first chunk, whatever its id, and appends its sections and crossbars in file order.
void readTrackDefinition(chReader& reader, coTrackDefinition& definition);
void readTrackCrossbar(chReader& reader, coTrackCrossbar& crossbar);
// A model of the track geometry named in the type's definition that `reader` reads: the file from the
// current coaster type's folder (one plain file name), its textures from the same folder, with its part
// flag cleared. A missing model throws the loader's exception, which names the definition as well.
std::unique_ptr<coModelHolder> coLoadTrackModel(const std::string& name, const chReader& reader);
// The crossbar's model through coLoadTrackModel; it replaces any model before.
void coLoadCrossbarModel(coTrackCrossbar& crossbar, const std::string& name, const chReader& reader);

// Replaces the current definition with a new one read from the current coaster type's folder. A file or
// chunk error passes to the caller; the definition read so far stays current.
void coLoadTrackDefinition(const std::string& fileName);
// The current definition; null before the first load and after coFreeTrackDefinition.
coTrackDefinition* coGetLoadedTrackDefinition();
void coFreeTrackDefinition();
// Hands the current definition to the caller; none is current afterwards.
std::unique_ptr<coTrackDefinition> coReleaseTrackDefinition();
