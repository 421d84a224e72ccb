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

fsLocator Absolute(std::initializer_list<const char*> parts) {
    fsLocator out;
    out.AppendComponent("");
    for (const char* part : parts)
        out.AppendComponent(part);
    return out;
}

fsLocator Track(const char* name) {
    fsLocator out;
    out.AppendComponent(name);
    return out;
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
    folder.Write("list.pls", "a.wav\n");
    EXPECT_THROW(muReadPlaylistFile(folder.Locator("list.pls"), playlist, true), snUnsupportedPlaylistTypeX);
    folder.Write("list.M3u", "a.wav\n");
    EXPECT_THROW(muReadPlaylistFile(folder.Locator("list.M3u"), playlist, true), snUnsupportedPlaylistTypeX);
    EXPECT_TRUE(playlist.tracks.empty());

    EXPECT_TRUE(muIsPlaylistFile(Track("x.m3u")));
    EXPECT_TRUE(muIsPlaylistFile(Track("x.M3U")));
    EXPECT_FALSE(muIsPlaylistFile(Track("x.M3u")));
    EXPECT_FALSE(muIsPlaylistFile(Track("m3u")));
    EXPECT_FALSE(muIsPlaylistFile(fsLocator()));
}

TEST(muPlaylist, PositionsOutsideTheTracksAreSilence) {
    muPlaylist playlist;
    EXPECT_EQ(playlist.GetCurrentTrack().GetComponentCount(), 0u);
    playlist.AddTrack(Track("a.wav"));
    playlist.AddTrack(Track("b.wav"));
    EXPECT_EQ(playlist.GetCurrentTrack(), Track("a.wav"));
    playlist.position = 2;
    EXPECT_EQ(playlist.GetCurrentTrack().GetComponentCount(), 0u);
    playlist.position = -1;
    EXPECT_EQ(playlist.GetCurrentTrack().GetComponentCount(), 0u);
    // An order left behind by a shorter list points nowhere rather than past the end.
    playlist.position = 1;
    playlist.SetShuffle(true);
    playlist.order = {0, 5};
    EXPECT_EQ(playlist.GetCurrentTrack().GetComponentCount(), 0u);
    playlist.Clear();
    EXPECT_EQ(playlist.position, 0);
    EXPECT_TRUE(playlist.order.empty());
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
    // Adding a track shuffles all four again; switching off drops the order.
    playlist.AddTrack(Track("d"));
    std::vector<u32> sorted = playlist.order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<u32>{0, 1, 2, 3}));
    playlist.SetShuffle(false);
    EXPECT_TRUE(playlist.order.empty());

    // Reading a file keeps the shuffle and shuffles what was read.
    fsTestFolder folder;
    folder.Write("three.m3u", "x.wav\ny.wav\nz.wav\n");
    playlist.SetShuffle(true);
    muReadPlaylistFile(folder.Locator("three.m3u"), playlist, true);
    EXPECT_TRUE(playlist.shuffle);
    EXPECT_EQ(playlist.order.size(), 3u);
}

TEST(muMusicManager, PlaylistsAndPositionsKeepInRange) {
    muMusicManager manager;
    EXPECT_EQ(manager.GetPlaylistCount(), 1u);
    EXPECT_EQ(manager.GetFlags(), muMusicManager::kAdvance | muMusicManager::kWrap);
    manager.SetPlaylistCount(3);
    manager.SetPlaylistCount(2);
    EXPECT_EQ(manager.GetPlaylistCount(), 3u);
    manager.SetCurrentPlaylist(2);
    manager.SetCurrentPlaylist(3);
    manager.SetCurrentPlaylist(-1);
    EXPECT_EQ(manager.GetCurrentPlaylist(), 2);
    EXPECT_EQ(manager.GetPreviousPlaylist(), 0);

    EXPECT_FALSE(manager.NextTrack());
    EXPECT_FALSE(manager.PreviousTrack());
    manager.LoadPlaylist(Track("a.wav"), 2);
    manager.LoadPlaylist(Track("b.mp3"), 2);
    // A mixed-case extension is a music file, and the empty locator is a track of silence.
    manager.LoadPlaylist(Track("c.M3u"), 2);
    manager.LoadPlaylist(fsLocator(), 2);
    EXPECT_EQ(manager.GetTrackCount(), 4);
    EXPECT_TRUE(manager.NextTrack());
    EXPECT_TRUE(manager.NextTrack());
    EXPECT_TRUE(manager.NextTrack());
    EXPECT_FALSE(manager.NextTrack());
    EXPECT_EQ(manager.GetTrack(), 3);
    EXPECT_TRUE(manager.PreviousTrack());
    manager.SetTrack(10);
    EXPECT_EQ(manager.GetTrack(), 10);

    manager.LoadPlaylist(Track("d.wav"), 5);
    EXPECT_EQ(manager.GetPlaylistCount(), 6u);
    manager.SetShuffle(5, true);
    EXPECT_TRUE(manager.IsShuffled(5));
    EXPECT_FALSE(manager.IsShuffled(9));
    manager.ClearPlaylist(2);
    EXPECT_EQ(manager.GetTrackCount(), 0);

    muSetMusicManager(new muMusicManager);
    EXPECT_NE(muGetMusicManager(), nullptr);
    muDestroyMusicManager();
    EXPECT_EQ(muGetMusicManager(), nullptr);
}
