#include "Engine/Graphics/May/mayModelFile.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/May/mayChunkValues.h"
#include "Engine/Graphics/May/mayTriangleSink.h"
#include "Engine/Graphics/Sc/scJoint.h"

#include <cmath>

namespace {

constexpr u32 kHLEV = chMakeId('H', 'L', 'E', 'V');
constexpr u32 kHJNT = chMakeId('H', 'J', 'N', 'T');
constexpr u32 kNNAM = chMakeId('N', 'N', 'A', 'M');
constexpr u32 kHTRN = chMakeId('H', 'T', 'R', 'N');
constexpr u32 kHJOR = chMakeId('H', 'J', 'O', 'R');
constexpr u32 kGFRG = chMakeId('G', 'F', 'R', 'G');
constexpr u32 kJOIN = chMakeId('J', 'O', 'I', 'N');
constexpr u32 kJODA = chMakeId('J', 'O', 'D', 'A');

// A model file opened past its header, read chunk by chunk.
struct ModelFile {
    explicit ModelFile(const fsLocator& locator) : file(locator, gfFileRead, gfByteOrderData), reader(&file) {
        file.ReadBinHeader(nullptr);
    }
    gfFile file;
    chBinReader reader;
};

maMatrix4d ReadMatrix(chBinReader& reader) {
    maMatrix4d m;
    for (float& value : m.m)
        value = mayReadInChunk<f32>(reader);
    return m;
}

maVector3d ReadVector(chBinReader& reader) {
    const f32 x = mayReadInChunk<f32>(reader), y = mayReadInChunk<f32>(reader);
    return {x, y, mayReadInChunk<f32>(reader)};
}

void ReadLevel(chBinReader& reader, g3dHFragment& node, g3dTextureLoader& loader, mayModelParts& out,
               mayTriangleSink* sink, u32 depth);

void ReadChildLevel(chBinReader& reader, u32 id, g3dTransformTreeNode& parent, g3dTextureLoader& loader,
                    mayModelParts& out, mayTriangleSink* sink, u32 depth) {
    depth = mayNextDepth(depth);
    std::unique_ptr<g3dHFragment> node;
    if (id == kHJNT)
        node = std::make_unique<scHJoint>();
    else
        node = std::make_unique<g3dHFragment>();
    g3dHFragment& level = *node;
    parent.AddChild(std::move(node));
    ReadLevel(reader, level, loader, out, sink, depth);
}

void ReadLevel(chBinReader& reader, g3dHFragment& node, g3dTextureLoader& loader, mayModelParts& out,
               mayTriangleSink* sink, u32 depth) {
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kNNAM)
            node.SetName(mayReadName(reader).c_str());
        else if (id == kHTRN)
            node.GetLocalMatrix() = ReadMatrix(reader);
        else if (id == kGFRG)
            node.SetFragment(mayReadFragment(reader, version, size, loader, out, sink, false));
        else if (id == kHLEV || id == kHJNT)
            ReadChildLevel(reader, id, node, loader, out, sink, depth);
        else if (id == kHJOR)
            if (auto* joint = dynamic_cast<scHJoint*>(&node)) {
                const maVector3d a = ReadVector(reader);
                joint->SetOrientation(a.x, a.y, a.z);
            }
        reader.EndChunk();
    }
}

// "JODA": translation, rotation angles, orientation angles, three unused floats, the matrix whose
// inverse is the bind matrix, then the influences on stored positions.
void ReadJointData(chBinReader& reader, scJoint& joint) {
    const maVector3d translation = ReadVector(reader);
    const maVector3d rotation = ReadVector(reader);
    const maVector3d orientation = ReadVector(reader);
    ReadVector(reader);
    maMatrix4d bind = ReadMatrix(reader);
    bind.Invert();
    // A singular matrix has no inverse to skin with.
    for (float value : bind.m)
        if (!std::isfinite(value))
            throw chInvalidChunkX();
    std::vector<scJointInfluence> influences(mayReadCount(reader, 6));
    for (scJointInfluence& influence : influences) {
        influence.vertex = mayReadInChunk<u16>(reader);
        influence.weight = mayReadInChunk<f32>(reader);
    }
    joint.SetTranslation(translation.x, translation.y, translation.z);
    joint.SetOrientation(orientation.x, orientation.y, orientation.z);
    joint.SetRotationEuler(rotation.x, rotation.y, rotation.z);
    joint.SetBindMatrix(bind);
    // Stored-position indices for now: remapped to vertices once the mesh is known.
    joint.SetInfluences(influences.data(), static_cast<u32>(influences.size()), 0x10000);
}

void ReadSkinJoint(chBinReader& reader, scJoint& joint, u32 depth) {
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kNNAM)
            joint.SetName(mayReadName(reader).c_str());
        else if (id == kJODA)
            ReadJointData(reader, joint);
        else if (id == kJOIN) {
            auto child = std::make_unique<scJoint>();
            scJoint& read = *child;
            joint.AddChild(std::move(child));
            ReadSkinJoint(reader, read, mayNextDepth(depth));
        }
        reader.EndChunk();
    }
}

// Each influence on stored position i becomes one per mesh vertex made from i, in the map's order.
void RemapJointKeys(g3dTransformTreeNode& node, const mayMesh& mesh) {
    if (auto* joint = dynamic_cast<scJoint*>(&node)) {
        std::vector<scJointInfluence> remapped;
        for (const scJointInfluence& stored : joint->GetInfluences()) {
            const auto [first, last] = mesh.storedIndexMap.equal_range(stored.vertex);
            for (auto it = first; it != last; ++it)
                remapped.push_back({it->second, stored.weight});
        }
        joint->SetInfluences(remapped.data(), static_cast<u32>(remapped.size()),
                             static_cast<u32>(mesh.positions.size()));
    }
    for (u32 c = 0; c < node.GetChildCount(); ++c)
        RemapJointKeys(*node.GetChild(c), mesh);
}

} // namespace

std::string mayInvalidModelFileX::GetText() const {
    std::string path;
    fsJoinComponents(m_locator, path);
    return "Invalid model file: " + path;
}

void mayLoadMaterialTextures(mayMaterialRecord& record, g3dTextureLoader& loader,
                             std::vector<g3dTexture*>& textures) {
    for (const std::string& name : record.textureNames)
        if (g3dTexture* texture = loader.GetTexture(envString(name.c_str()))) {
            textures.push_back(texture);
            record.material->AddTextureStage(texture, 0);
        }
}

g3dFragment* mayReadFragment(chBinReader& reader, u16 version, u32 size, g3dTextureLoader& loader,
                             mayModelParts& out, mayTriangleSink* sink, bool dynamic) {
    mayMesh mesh;
    mayReadGeometry(reader, version, size, mesh, false);
    std::vector<g3dMaterial*> materials;
    for (mayMaterialRecord& record : mesh.materials) {
        mayLoadMaterialTextures(record, loader, out.textures);
        materials.push_back(record.material.get());
        out.materials.push_back(std::move(record));
    }
    const u32 materialCount = static_cast<u32>(materials.size());
    const u32* starts = materialCount > 1 ? mesh.rangeStarts.data() : nullptr;
    const u32 vertexCount = static_cast<u32>(mesh.positions.size());
    const u32 indexCount = static_cast<u32>(mesh.indices.size());
    g3dFragment* fragment =
        mesh.uvs.empty()
            ? g3dFragmentManager::CreateFragmentPNT(mesh.positions.data(), mesh.normals.data(), vertexCount,
                                                    mesh.indices.data(), indexCount, materials.data(), starts,
                                                    materialCount, dynamic)
            : g3dFragmentManager::CreateFragmentPNT2(
                  mesh.positions.data(), mesh.normals.data(), mesh.uvs.data(), vertexCount,
                  mesh.indices.data(), indexCount, materials.data(), starts, materialCount, dynamic);
    // A mesh the fragment manager refuses (past 65535 vertices or indices) makes no model.
    if (!fragment)
        throw chInvalidChunkX(reader.GetLocator());
    out.fragments.push_back(fragment);
    if (sink)
        sink->Add(fragment, mesh.positions.data(), vertexCount, mesh.indices.data(), indexCount);
    return fragment;
}

void mayReadStaticModel(const fsLocator& locator, g3dTextureLoader& loader, mayModelParts& out,
                        mayTriangleSink* sink) {
    try {
        ModelFile model(locator);
        u32 id = 0, size = 0;
        u16 version = 0;
        while (model.reader.BeginChunk(&id, &version, &size)) {
            mayReadFragment(model.reader, version, size, loader, out, sink, false);
            model.reader.EndChunk();
        }
    } catch (const chInvalidChunkX&) {
        throw mayInvalidModelFileX(locator);
    }
}

void mayReadHierarchy(const fsLocator& locator, g3dTextureLoader& loader, g3dTransformTreeNode& parent,
                      mayModelParts& out, mayTriangleSink* sink) {
    ModelFile model(locator);
    u32 id = 0, size = 0;
    u16 version = 0;
    if (!model.reader.BeginChunk(&id, &version, &size) || !model.reader.BeginChunk(&id, &version, &size))
        return;
    if (id == kHLEV || id == kHJNT)
        ReadChildLevel(model.reader, id, parent, loader, out, sink, 0);
}

void mayReadSingleSkin(const fsLocator& locator, g3dTextureLoader& loader, mayModelParts& out, mayMesh& mesh,
                       std::unique_ptr<scJoint>& root) {
    try {
        ModelFile model(locator);
        u32 id = 0, size = 0;
        u16 version = 0;
        if (!model.reader.BeginChunk(&id, &version, &size))
            return;
        while (model.reader.BeginChunk(&id, &version, &size)) {
            if (id == kJOIN) {
                root = std::make_unique<scJoint>();
                ReadSkinJoint(model.reader, *root, 0);
            } else if (id == kGFRG) {
                mayMesh read;
                mayReadGeometry(model.reader, version, size, read, true);
                for (mayMaterialRecord& record : read.materials) {
                    mayLoadMaterialTextures(record, loader, out.textures);
                    out.materials.push_back(std::move(record));
                }
                read.materials.clear();
                mesh = std::move(read);
            }
            model.reader.EndChunk();
        }
        if (root)
            RemapJointKeys(*root, mesh);
    } catch (const chInvalidChunkX&) {
        throw mayInvalidModelFileX(locator);
    }
}
