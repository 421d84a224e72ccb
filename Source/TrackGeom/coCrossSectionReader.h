#pragma once
#include "Engine/App/Ch/chTxtReader.h"

#include <string>

class chReader;
class coCrossSection;
class g3dMaterial;
class g3dTexture;

// The chunk vocabulary of a cross-section and its material, shared by the track and support
// definitions: "Material" (Texture, TextureSlide, Ambient, Diffuse, Specular, Power), "CrossSection"
// (Vertices), "LOD", "TextureSpacing", "SampleSpacing" and "Name".

// Adds the vocabulary's 13 key names with their chunk ids.
void registerCrossSectionTags(chTagMap& tags);

// The children of the current chunk into the section; unknown children are skipped. A non-finite
// number keeps the previous value with a warning; a Vertices count below 0 or above 65535 throws
// chInvalidChunkX. Chunk errors pass to the caller.
void readCrossSection(chReader& reader, coCrossSection& section);
// The children of a Material chunk. A texture that cannot be found is warned about ("File not found: %s",
// or "File not found in pak: %s") and gives no stage; a TextureSlide rate that is not a positive finite
// number gives no slide, with a warning.
void readCrossSectionMaterial(chReader& reader, g3dMaterial& material);
// The children of a CrossSection chunk: each Vertices child replaces the outline.
void readCrossSectionVertices(chReader& reader, coCrossSection& section);

// The texture of a file in the current coaster type's folder, held once in the track-texture list until
// coReleaseTrackTextures; null when the cache makes none. A name that is not one plain file name is a
// missing file (fsFileDoesntExistX), as a file that is not there.
g3dTexture* coLoadTrackTexture(const std::string& name);
// Gives back every texture of the list, once each, and empties it.
void coReleaseTrackTextures();

// The locator of a file in the current coaster type's folder under "Tracks"; throws fsFileDoesntExistX
// (with that locator) unless the name is one plain file name: not empty, no separator, not "." or "..".
fsLocator coTrackTypeFile(const std::string& name);
// The current coaster type's folder under "Tracks".
fsLocator coTrackTypeFolder();
