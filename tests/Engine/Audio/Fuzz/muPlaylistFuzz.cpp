// libFuzzer target: arbitrary bytes as an ".m3u" playlist, read into a list that already holds a track,
// then shuffled and walked as the music manager walks it. The shuffled order must be a permutation of
// the tracks. Anything else but the engine's own exceptions is a finding.
// Seeds: tests/Fuzz/lvFuzzSeeds; scripts/fuzz builds and runs it.
#include "Engine/Audio/Mu/muPlaylist.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Fuzz/fuzzLoaderInput.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <numeric>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("input.m3u");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    muPlaylist playlist;
    playlist.AddTrack(file);
    try {
        muReadPlaylistFile(file, playlist, size % 2 == 0); // appending or replacing, by the length
    } catch (const envExceptionX&) {
        return 0;
    }
    std::string path;
    for (const fsLocator& track : playlist.tracks)
        fsLocatorToNativePath(track, path);
    playlist.SetShuffle(true);
    std::vector<u32> sorted = playlist.order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<u32> all(playlist.tracks.size());
    std::iota(all.begin(), all.end(), 0u);
    Check(sorted == all);
    for (playlist.position = -1; playlist.position <= static_cast<i32>(playlist.tracks.size());
         ++playlist.position)
        playlist.GetCurrentTrack();
    return 0;
}
