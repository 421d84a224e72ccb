#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Audio/Mu/muMusicManager.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Core/Ma/maRandom.h"

#include <gtest/gtest.h>

#include <set>

namespace {

fsLocator Under(const fsLocator& folder, std::initializer_list<const char*> parts) {
    fsLocator out = folder;
    for (const char* part : parts)
        out.AppendComponent(part);
    return out;
}

// An empty first component makes a path absolute.
fsLocator Absolute(std::initializer_list<const char*> parts) {
    return Under(Under({}, {""}), parts);
}

fsLocator Track(const char* name) {
    return Under({}, {name});
}

} // namespace

TEST(muReadPlaylistFile, LineEndingsMarksCommentsAndBlanksGiveTheSameTracks) {
    fsTestFolder folder;
    const std::vector<fsLocator> expected = {Under(folder.Locator(), {"a.wav"}),
                                             Under(folder.Locator(), {"sub", "b.mp3"}),
                                             Under(folder.Locator(), {"sub", "deeper", "c.wav"}),
                                             Absolute({"music", "d.mp3"}), Absolute({"music", "e.wav"})};
    const std::string lines[] = {"#EXTM3U",        "#EXTINF:123,Artist - Title", "a.wav", "",
                                 "  sub\\b.mp3  ", "sub/deeper//c.wav",          "\t",    "/music/d.mp3",
                                 "\\music\\e.wav"};
    const std::pair<const char*, std::string> variants[] = {
        {"crlf.m3u", "\r\n"}, {"lf.m3u", "\n"}, {"cr.m3u", "\r"}, {"bom.m3u", "\n"}, {"last.M3U", "\r\n"}};
    for (const auto& [name, ending] : variants) {
        std::string text = std::string(name) == "bom.m3u" ? "\xEF\xBB\xBF" : "";
        for (const std::string& line : lines)
            text += line + ending;
        // The last variant has no line end after its last line, and starts with a blank line.
        if (std::string(name) == "last.M3U")
            text = ending + text.substr(0, text.size() - ending.size());
        folder.Write(name, text);
        muPlaylist playlist;
        muReadPlaylistFile(folder.Locator(name), playlist, true);
        EXPECT_EQ(playlist.tracks, expected) << name;
    }

    // A BOM alone on its line and a file of nothing but comments give no tracks.
    folder.Write("empty.m3u", "\xEF\xBB\xBF\r\n# nothing\r\n\r\n");
    muPlaylist playlist;
    playlist.AddTrack(Track("kept.wav"));
    muReadPlaylistFile(folder.Locator("empty.m3u"), playlist, false);
    EXPECT_EQ(playlist.tracks.size(), 1u);
    muReadPlaylistFile(folder.Locator("empty.m3u"), playlist, true);
    EXPECT_TRUE(playlist.tracks.empty());
}

TEST(muReadPlaylistFile, MissingAndForeignFilesThrow) {
    fsTestFolder folder;
    muPlaylist playlist;
    EXPECT_THROW(muReadPlaylistFile(folder.Locator("missing.m3u"), playlist, true), fsFileDoesntExistX);
    for (const char* name : {"list.pls", "list.M3u"}) {
        EXPECT_THROW(muReadPlaylistFile(folder.Write(name, "a.wav\n"), playlist, true),
                     snUnsupportedPlaylistTypeX);
    }
    EXPECT_TRUE(playlist.tracks.empty());
    EXPECT_TRUE(muIsPlaylistFile(Track("x.M3U")));
    EXPECT_FALSE(muIsPlaylistFile(Track("m3u")));
}

// Positions outside the tracks, and an order left behind by a shorter list, are silence.
TEST(muPlaylist, PositionsOutsideTheTracksAreSilence) {
    muPlaylist playlist;
    EXPECT_EQ(playlist.GetCurrentTrack(), fsLocator());
    playlist.AddTrack(Track("a.wav"));
    playlist.AddTrack(Track("b.wav"));
    EXPECT_EQ(playlist.GetCurrentTrack(), Track("a.wav"));
    for (i32 position : {2, -1}) {
        playlist.position = position;
        EXPECT_EQ(playlist.GetCurrentTrack(), fsLocator()) << position;
    }
    playlist.position = 1;
    playlist.SetShuffle(true);
    playlist.order = {0, 5};
    EXPECT_EQ(playlist.GetCurrentTrack(), fsLocator());
}

TEST(muPlaylist, ShuffleReachesEveryOrderNotOnlyTheCyclicOnes) {
    maRandomSeed(7);
    muPlaylist playlist;
    for (const char* name : {"a", "b", "c"})
        playlist.AddTrack(Track(name));
    std::set<std::vector<u32>> seen;
    for (int i = 0; i < 200; ++i) {
        playlist.SetShuffle(true);
        seen.insert(playlist.order);
    }
    EXPECT_EQ(seen.size(), 6u);
    // Adding a track shuffles all four again; reading a file shuffles what was read, leaving no stale order.
    playlist.AddTrack(Track("d"));
    std::vector<u32> sorted = playlist.order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<u32>{0, 1, 2, 3}));
    fsTestFolder folder;
    muReadPlaylistFile(folder.Write("three.m3u", "x.wav\ny.wav\nz.wav\n"), playlist, true);
    EXPECT_EQ(playlist.order.size(), 3u);
}

// Track steps stay in the list; playlists grow to the index loaded.
TEST(muMusicManager, PlaylistsAndPositionsKeepInRange) {
    muMusicManager manager;
    manager.SetCurrentPlaylist(2); // no such list: ignored
    EXPECT_EQ(manager.GetCurrentPlaylist(), 0);
    EXPECT_FALSE(manager.NextTrack());
    EXPECT_FALSE(manager.PreviousTrack());
    // A mixed-case extension is a music file, and the empty locator is a track of silence.
    for (const fsLocator& track : {Track("a.wav"), Track("b.mp3"), Track("c.M3u"), fsLocator()})
        manager.LoadPlaylist(track, 2);
    manager.SetCurrentPlaylist(2);
    EXPECT_EQ(manager.GetTrackCount(), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(manager.NextTrack());
    EXPECT_FALSE(manager.NextTrack());
    EXPECT_EQ(manager.GetTrack(), 3);
    EXPECT_TRUE(manager.PreviousTrack());
}
