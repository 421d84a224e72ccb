#pragma once
#include "Tools/Model/toolModelWriter.h"

#include <span>
#include <string>
#include <vector>

// A model's triangles, each with its three corners in the model's frame and its material.
struct toolModelTriangles {
    struct Triangle {
        maVector3d corners[3];
        size_t material;
    };
    std::vector<toolModelMaterial> materials;
    std::vector<Triangle> triangles;
};

// The triangles of a model file in the layouts the model writers write: a static model's fragments, a
// hierarchy's levels each placed by its level matrix, a skin's mesh in its bind pose. Joint orientations
// and animations are left out: the model stands in its rest pose. Bytes that run short throw
// std::runtime_error.
toolModelTriangles toolReadModelTriangles(std::span<const u8> file);

// The model named in a prop definition file (".prd").
std::string toolReadPropModelName(std::span<const u8> file);
