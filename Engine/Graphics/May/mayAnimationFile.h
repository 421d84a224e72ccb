#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/An/anKeyData.h"

#include <memory>
#include <vector>

// The key tracks of one node of an animated tree; child i animates child i of the matching tree node.
// The tracks are not owned (the reader's lists own them); either may be null.
struct mayAnimationNode {
    anKeyData<maVector3d>* positions = nullptr;
    anKeyData<maRotation>* rotations = nullptr;
    mayAnimationNode* parent = nullptr;
    std::vector<std::unique_ptr<mayAnimationNode>> children;
};

struct mayAnimationTree {
    std::unique_ptr<mayAnimationNode> root;
    u32 rootCount = 0;
};

// Who frees the key tracks a read makes.
struct mayAnimationTracks {
    std::vector<std::unique_ptr<anKeyData<maVector3d>>> positions;
    std::vector<std::unique_ptr<anKeyData<maRotation>>> rotations;
};

// Reads a model animation's root level into the tree's root, made when the tree has none. Rotation
// keys further apart than half a turn on some axis get keys in between, so that blending takes the
// path the file means; pairs that would need more than 65535 of them, non-finite values and counts
// past their chunk throw chInvalidChunkX.
void mayReadAnimation(const fsLocator& locator, mayAnimationTree& tree, mayAnimationTracks& tracks);
