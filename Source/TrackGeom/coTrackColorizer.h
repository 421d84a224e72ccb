#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class chReader;
class chWriter;
class fsLocator;
class g3dMaterial;

// One part's colours, shininess and texture (a file in the coaster type's folder; empty for none).
struct coSchemeMaterial {
    g3dARGBColor ambient{0.0f, 0.0f, 0.0f, 0.0f};
    g3dARGBColor diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    g3dARGBColor specular{0.0f, 0.0f, 0.0f, 0.0f};
    std::string texture;
    float power = 1.0f;

    // Every component the file carries compared exactly (not alpha), the texture name byte for byte.
    bool operator==(const coSchemeMaterial& other) const;
};

// Part name to material, in byte order of the names.
using coColorScheme = std::map<std::string, coSchemeMaterial>;

// The chunks of "TrkColor.def" and of the colours inside a saved coaster.
inline constexpr u32 coChunkColorScheme = chMakeId('T', 'C', 'M', 'P');

// The player's colouring of the coaster: the stored schemes of the current coaster type, the current
// colours of the coaster being built, and the selected index (the scheme count while they are custom).
namespace coTrackColorizer {

// Colours, power and the texture as the only stage. A texture that cannot be loaded is warned about and
// the material is left without one, so one bad name cannot stop a coaster type from loading.
void ApplyMaterial(g3dMaterial& material, const coSchemeMaterial& record);
// Every track material of the part, then every support material of it (coGetTrackDefinitionSource).
void ApplyPart(const std::string& name, const coSchemeMaterial& record);
void ApplyScheme(const coColorScheme& scheme);
// Negative indices and those past the list do nothing; the selection and current colours stay.
void ApplySchemeByIndex(int index);
// Both store the scheme's parts over the current colours and apply them; parts the scheme lacks keep
// their colours.
void SelectScheme(int index);
void SetCurrentScheme(const coColorScheme& scheme);
// The current colours; with none, the first stored scheme is selected.
void ApplyCurrent();
void ClearCurrent();
void SetCurrentPart(const std::string& name, const coSchemeMaterial& record);
bool GetCurrentPart(const std::string& name, coSchemeMaterial& out);
void GetCurrentParts(std::vector<std::pair<std::string, coSchemeMaterial>>& out);
const coColorScheme& GetCurrentScheme();
int GetSelectedIndex();
int GetSchemeCount();
void CopySchemes(std::vector<coColorScheme>& out);
void AssignSchemes(const std::vector<coColorScheme>& schemes);
int AddScheme(const coColorScheme& scheme);
int AppendEmptyScheme();
// A bad index is ignored with a warning.
void SetSchemePart(int index, const std::string& name, const coSchemeMaterial& record);
void ClearSchemes();
// The first stored scheme equal to the current colours, else the count.
void FindMatchingScheme();
// The three built-in schemes over "Rail", "Center", "Crossbar" and "Support"; other parts stay.
void MakeDefaultSchemes();

// The colours of a saved coaster's chunk (the reader inside it), into a scheme of their own: a chunk
// error passes on and the current colours stay as they were.
coColorScheme ReadScheme(chReader& reader);
// Makes the colours read from a saved coaster current and finds the stored scheme they match.
void ReplaceCurrent(const coColorScheme& scheme);
// One "ColorScheme" chunk of the current colours; nothing when there are none.
void WriteScheme(chWriter& writer);

} // namespace coTrackColorizer

// Replaces the stored schemes with the file's once it is read whole; a file or chunk error passes on and
// leaves the list as it was. The current colours are not touched.
void loadColorSchemes(const fsLocator& file);
// Writes the stored schemes in place of the file in one step; with none stored, the file is deleted.
// With current colours each scheme keeps only their parts; without, each is written whole.
void saveColorSchemes(const fsLocator& file);
