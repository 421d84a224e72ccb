#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

#include <array>
#include <string>
#include <vector>

// A material of a model file: its four colours (red, green, blue, alpha), its specular power (0 leaves
// specular off) and the names of its textures.
struct toolModelMaterial {
    std::array<float, 4> diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 4> ambient{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 4> specular{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<float, 4> emissive{0.0f, 0.0f, 0.0f, 1.0f};
    float power = 0.0f;
    std::vector<std::string> textures;
};

// A triangle corner: an index into each of the fragment's three lists.
struct toolModelCorner {
    u16 position, normal, uv;
};

// One fragment as a modelling tool keeps it: separate lists of positions, normals and texture
// coordinates (v running down the image), and per material its triangles, three corners each.
struct toolModelFragment {
    std::vector<maVector3d> positions;
    std::vector<maVector3d> normals;
    std::vector<maVector2d> uvs;
    std::vector<toolModelMaterial> materials;
    std::vector<std::vector<toolModelCorner>> triangles; // one list per material
};

// A box of the size centred on the point: 8 positions, 6 normals, 4 texture corners, 12 triangles of
// one material, every face wound alike.
toolModelFragment toolMakeBox(const maVector3d& size, const maVector3d& centre,
                              const toolModelMaterial& material);

// An open cylinder of the radius standing on the origin, from y = 0 up to the height, in `sides` faces with
// radial normals; u runs once round it, v up it.
toolModelFragment toolMakeCylinder(float radius, float height, int sides, const toolModelMaterial& material);

// Writes a static model file (".mx"): the binary chunk header, then one "GFRG" chunk per fragment.
void toolWriteStaticModel(const std::string& path, const std::vector<toolModelFragment>& fragments);

// Writes a hierarchy model file (".mhx") of two levels: the base level with its fragment, and under it one
// joint placed at the point, unturned, with its own fragment. An animation's second level moves the joint.
void toolWriteHierarchyModel(const std::string& path, const toolModelFragment& base,
                             const maVector3d& jointPlace, const toolModelFragment& joint);
