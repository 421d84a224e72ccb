#include "Engine/Graphics/May/mayAnimationFile.h"

#include "Engine/App/Gf/gfFile.h"
#include "Engine/Graphics/May/mayChunkValues.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr u32 kANLV = chMakeId('A', 'N', 'L', 'V');
constexpr u32 kAPKY = chMakeId('A', 'P', 'K', 'Y');
constexpr u32 kARKY = chMakeId('A', 'R', 'K', 'Y');

struct Key {
    maVector3d value;
    f32 time;
};

std::vector<Key> ReadKeys(chBinReader& reader) {
    std::vector<Key> keys(mayReadCount(reader, 16));
    for (Key& key : keys) {
        const f32 x = mayReadInChunk<f32>(reader), y = mayReadInChunk<f32>(reader),
                  z = mayReadInChunk<f32>(reader);
        key = {{x, y, z}, mayReadInChunk<f32>(reader)};
    }
    return keys;
}

maRotation Euler(const maVector3d& a) {
    maRotation r;
    r.SetEuler(a.x, a.y, a.z);
    return r;
}

// Keys in between two keys whose angles differ by half a turn or more on an axis: one for every whole
// half turn of the largest difference.
void AddRotationKeys(const Key& from, const Key& to, anKeyData<maRotation>& track) {
    const maVector3d delta = to.value - from.value;
    const f32 d = std::max({std::fabs(delta.x), std::fabs(delta.y), std::fabs(delta.z)});
    const f32 pi = 3.14159265358979f / 180.0f * 180.0f;
    const f32 halfTurns = d >= pi ? std::trunc(d / pi) : 0.0f;
    // Both keys are finite, but their difference may not be; the count is bounded like a key count.
    if (!(halfTurns <= 65535.0f))
        throw chInvalidChunkX();
    const u32 m = static_cast<u32>(halfTurns);
    for (u32 k = 1; k <= m; ++k) {
        const f32 f = static_cast<f32>(k) / static_cast<f32>(m + 1);
        track.AddKey(from.time * (1 - f) + to.time * f, Euler(from.value * (1 - f) + to.value * f));
    }
    track.AddKey(to.time, Euler(to.value));
}

void ReadLevel(chBinReader& reader, mayAnimationNode& current, mayAnimationTracks& tracks, u32 depth) {
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kANLV) {
            auto child = std::make_unique<mayAnimationNode>();
            child->parent = &current;
            mayAnimationNode& level = *child;
            current.children.push_back(std::move(child));
            ReadLevel(reader, level, tracks, mayNextDepth(depth));
        } else if (id == kAPKY) {
            const std::vector<Key> keys = ReadKeys(reader);
            if (!keys.empty()) {
                auto& track = *tracks.positions.emplace_back(std::make_unique<anKeyData<maVector3d>>());
                for (const Key& key : keys)
                    track.AddKey(key.time, key.value);
                current.positions = &track;
            }
        } else if (id == kARKY) {
            const std::vector<Key> keys = ReadKeys(reader);
            if (!keys.empty()) {
                auto track = std::make_unique<anKeyData<maRotation>>();
                track->AddKey(keys[0].time, Euler(keys[0].value));
                for (size_t i = 1; i < keys.size(); ++i)
                    AddRotationKeys(keys[i - 1], keys[i], *track);
                current.rotations = tracks.rotations.emplace_back(std::move(track)).get();
            }
        }
        reader.EndChunk();
    }
}

} // namespace

void mayReadAnimation(const fsLocator& locator, mayAnimationTree& tree, mayAnimationTracks& tracks) {
    if (!tree.root) {
        tree.root = std::make_unique<mayAnimationNode>();
        ++tree.rootCount;
    }
    tree.root->positions = nullptr;
    tree.root->rotations = nullptr;
    gfFile file(locator, gfFileRead, gfByteOrderData);
    file.ReadBinHeader(nullptr);
    chBinReader reader(&file);
    u32 id = 0, size = 0;
    u16 version = 0;
    if (reader.BeginChunk(&id, &version, &size) && reader.BeginChunk(&id, &version, &size))
        ReadLevel(reader, *tree.root, tracks, 0);
}
