#include "Engine/Audio/Mu/muPlaylist.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfTokenFile.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Core/Ma/maRandom.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace {

// A draw of 0..n-1 from the program's generator, widened by 15-bit draws until it covers n.
u32 RandomBelow(u32 n) {
    u64 value = maRandomInt();
    u64 range = 0x7FFF;
    while (range < n - 1) {
        value = (value << 15) | maRandomInt();
        range = (range << 15) | 0x7FFF;
    }
    return static_cast<u32>(value % n);
}

const fsLocator& EmptyTrack() {
    static const fsLocator empty;
    return empty;
}

std::string Trim(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const size_t last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

// Appends every non-empty part between separators.
void AppendParts(fsLocator& locator, const std::string& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start) {
            envString part;
            fsNativeToString(path.data() + start, end - start, part);
            locator.AppendComponent(part);
        }
        start = end + 1;
    }
}

fsLocator TrackOf(const std::string& line, const fsLocator& folder) {
    fsLocator track;
    const bool fromTop = line[0] == '/' || line[0] == '\\';
    if (fromTop) {
        track.AppendComponent("");
    } else if (line.size() < 2 || line[1] != ':') {
        track = folder;
    }
    AppendParts(track, line);
    return track;
}

} // namespace

const fsLocator& muPlaylist::GetCurrentTrack() const {
    if (position < 0)
        return EmptyTrack();
    auto index = static_cast<size_t>(position);
    if (shuffle) {
        if (index >= order.size())
            return EmptyTrack();
        index = order[index];
    }
    return index < tracks.size() ? tracks[index] : EmptyTrack();
}

void muPlaylist::AddTrack(const fsLocator& track) {
    tracks.push_back(track);
    if (shuffle)
        SetShuffle(true);
}

void muPlaylist::SetShuffle(bool on) {
    shuffle = on;
    order.clear();
    if (!on)
        return;
    order.resize(tracks.size());
    std::iota(order.begin(), order.end(), 0u);
    for (u32 i = 1; i < order.size(); ++i)
        std::swap(order[i], order[RandomBelow(i + 1)]);
}

void muPlaylist::Clear() {
    tracks.clear();
    order.clear();
    position = 0;
}

bool muIsPlaylistFile(const fsLocator& file) {
    if (file.GetComponentCount() == 0)
        return false;
    const envString& name = file.GetLastComponent();
    const u32 length = name.GetLength();
    if (length < 4 || name[length - 4] != u'.')
        return false;
    const envString extension(length - 3, 3, name);
    return extension == envString("m3u") || extension == envString("M3U");
}

void muReadPlaylistFile(const fsLocator& file, muPlaylist& playlist, bool clearFirst) {
    // Opening throws fsFileDoesntExistX for a missing file, before the kind is looked at.
    gfFile stream(file, gfFileRead);
    if (!muIsPlaylistFile(file))
        throw snUnsupportedPlaylistTypeX();
    const bool shuffled = playlist.shuffle;
    playlist.SetShuffle(false);
    if (clearFirst)
        playlist.Clear();
    fsLocator folder = file;
    folder.RemoveLastComponent();

    const u32 size = stream.GetSize();
    std::string line;
    for (bool first = true; stream.Tell() < size; first = false) {
        gfReadLine(stream, line, 0);
        if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        playlist.tracks.push_back(TrackOf(line, folder));
    }
    playlist.SetShuffle(shuffled);
}
