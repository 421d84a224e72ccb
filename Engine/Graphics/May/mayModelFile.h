#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/May/mayGeometry.h"

#include <memory>
#include <string>
#include <vector>

class chBinReader;
class g3dFragment;
class g3dTexture;
class g3dTextureLoader;
class g3dTransformTreeNode;
class mayTriangleSink;
class scJoint;

// A model file that cannot be read; carries the file.
class mayInvalidModelFileX : public envExceptionX {
  public:
    explicit mayInvalidModelFileX(const fsLocator& locator) : m_locator(locator) {}
    u32 GetCode() const override { return 0xE01D0001; }
    const fsLocator& GetLocator() const { return m_locator; }
    // No error text set covers models, so the message is made here: "Invalid model file: <path>".
    std::string GetText() const;

  private:
    fsLocator m_locator;
};

// What a model reader hands back besides its geometry. Fragments and textures are the caller's to
// destroy and release, also when a reader throws halfway: what was made by then stays listed.
struct mayModelParts {
    std::vector<g3dFragment*> fragments;
    std::vector<mayMaterialRecord> materials;
    std::vector<g3dTexture*> textures;
};

// Every top-level chunk of a ".mx" file, whatever its id, as one fragment in file order. A malformed
// file throws mayInvalidModelFileX.
void mayReadStaticModel(const fsLocator& locator, g3dTextureLoader& loader, mayModelParts& out,
                        mayTriangleSink* sink);
// The first level of a ".mhx" file as a new child of parent (a plain level as a fragment node, a joint
// level as an scHJoint); any other first chunk adds nothing. A malformed file throws chInvalidChunkX.
void mayReadHierarchy(const fsLocator& locator, g3dTextureLoader& loader, g3dTransformTreeNode& parent,
                      mayModelParts& out, mayTriangleSink* sink);
// A skin mesh and its skeleton; the mesh keeps no materials (they go to out) and no fragment is made.
// The joints' influences name mesh vertices. A malformed file throws mayInvalidModelFileX.
void mayReadSingleSkin(const fsLocator& locator, g3dTextureLoader& loader, mayModelParts& out, mayMesh& mesh,
                       std::unique_ptr<scJoint>& root);

// The fragment chunk the reader is in, its materials' textures loaded; the fragment goes to out too.
g3dFragment* mayReadFragment(chBinReader& reader, u16 version, u32 size, g3dTextureLoader& loader,
                             mayModelParts& out, mayTriangleSink* sink, bool dynamic);
// Each texture name the loader knows becomes a stage of the record's material and an entry of textures.
void mayLoadMaterialTextures(mayMaterialRecord& record, g3dTextureLoader& loader,
                             std::vector<g3dTexture*>& textures);
