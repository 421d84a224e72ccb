#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsOpenFailures.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Env/envEnvironment.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

fsLocator Entry(const std::string& path) {
    fsLocator locator;
    fsLocatorFromNativePath(path.c_str(), locator);
    return locator;
}

std::string ReadEntry(const gfPakFile& pak, const std::string& path) {
    gfPakEntryStream entry(pak, Entry(path));
    std::string data(entry.GetSize(), '\0');
    EXPECT_EQ(entry.Read(data.data(), static_cast<u32>(data.size())), data.size());
    return data;
}

gfPakBuilderLayout ThreeEntries() {
    gfPakBuilderLayout layout;
    layout.entries = {{"Data/Track.bin", "0123456789"}, {"readme.txt", "read me"}, {"empty", ""}};
    return layout;
}

// Opens the pak and reads every entry it is asked for; only the loader's exceptions may come out.
void OpenAndReadAll(const fsLocator& pakLocator, const std::vector<std::string>& names) {
    try {
        gfPakFile pak(pakLocator);
        for (const std::string& name : names) {
            try {
                pak.HasEntry(Entry(name));
                gfPakEntryStream entry(pak, Entry(name));
                char buffer[64];
                while (entry.Read(buffer, sizeof(buffer)) > 0) {
                }
                EXPECT_LE(entry.Tell(), entry.GetSize());
            } catch (const gfFileNotInPakX&) {
            } catch (const gfInvalidPakFileX&) {
            }
        }
    } catch (const gfInvalidPakFileX& e) {
        EXPECT_EQ(e.GetLocator(), pakLocator);
    }
}

bool HaveZipTool() {
    return std::system("zip -v > /dev/null 2>&1") == 0;
}

void RunCommand(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

u32 g_answer = 0;
u32 Answer(u32, u32, u32, const char*) {
    return g_answer;
}

} // namespace

TEST(gfPakFile, EntriesReadLikeFiles) {
    fsTestFolder folder;
    folder.Write("a.pak", gfBuildPak(ThreeEntries()));
    gfPakFile pak(folder.Locator("a.pak"));
    EXPECT_EQ(pak.GetEntryCount(), 3u);
    EXPECT_EQ(pak.GetLocator(), folder.Locator("a.pak"));
    EXPECT_TRUE(pak.HasEntry(Entry("DATA/track.BIN")));
    EXPECT_FALSE(pak.HasEntry(Entry("Data")));
    EXPECT_FALSE(pak.HasEntry(Entry("track.bin")));

    fsLocator rooted = Entry("data/track.bin");
    rooted.SetRoot(4); // the root is ignored
    gfPakEntryStream entry(pak, rooted);
    EXPECT_EQ(entry.GetLocator(), rooted);
    EXPECT_EQ(entry.GetSize(), 10u);
    char buffer[16] = {};
    EXPECT_EQ(entry.Seek(6, 0), 6u);
    EXPECT_EQ(entry.Read(buffer, 10), 4u);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_EQ(entry.Read(buffer, 10), 0u);
    EXPECT_EQ(entry.Seek(0, 2), 10u);
    EXPECT_EQ(entry.Seek(-10, 1), 0u);

    // A seek before the start is a failed seek: the position stays and no earlier byte is read.
    EXPECT_THROW(entry.Seek(-1, 1), fsInvalidLocatorX);
    EXPECT_THROW(entry.Seek(-11, 2), fsInvalidLocatorX);
    EXPECT_EQ(entry.Tell(), 0u);
    EXPECT_EQ(entry.Seek(50, 0), 50u); // past the end is allowed and reads nothing
    EXPECT_EQ(entry.Read(buffer, 4), 0u);

    EXPECT_EQ(ReadEntry(pak, "readme.txt"), "read me");
    EXPECT_EQ(ReadEntry(pak, "empty"), "");
    EXPECT_THROW(gfPakEntryStream(pak, Entry("none")), gfFileNotInPakX);

    fsLocator tooLong;
    tooLong.AppendComponent(std::string(300, 'x').c_str());
    EXPECT_THROW(pak.HasEntry(tooLong), fsInvalidLocatorX);
    EXPECT_EQ(gfPakEntryName(Entry("A/B/Name.TXT")), "a/b/name.txt");
}

TEST(gfPakFile, LayoutsOfOwnBuilder) {
    fsTestFolder folder;
    gfPakBuilderLayout layout = ThreeEntries();

    layout.prefix = std::string(1000, '#');
    folder.Write("prefixed.pak", gfBuildPak(layout));
    EXPECT_EQ(ReadEntry(gfPakFile(folder.Locator("prefixed.pak")), "data/track.bin"), "0123456789");

    // The end record may start at most 65535 bytes before the end: a comment of up to 65513 bytes.
    layout.prefix.clear();
    layout.comment = std::string(65513, 'c');
    folder.Write("comment.pak", gfBuildPak(layout));
    EXPECT_EQ(ReadEntry(gfPakFile(folder.Locator("comment.pak")), "readme.txt"), "read me");
    layout.comment += 'c';
    folder.Write("toolong.pak", gfBuildPak(layout));
    EXPECT_THROW(gfPakFile(folder.Locator("toolong.pak")), gfInvalidPakFileX);

    // The later of two names equal but for case wins; data descriptors use the central sizes.
    gfPakBuilderLayout twice;
    twice.entries = {{"Read.txt", "first"},
                     {"READ.TXT", "second"},
                     {"stream.bin", "streamed data", 0, true},
                     {"packed.bin", "\x01\x02\x03", 8}};
    folder.Write("twice.pak", gfBuildPak(twice));
    gfPakFile pak(folder.Locator("twice.pak"));
    EXPECT_EQ(pak.GetEntryCount(), 3u);
    EXPECT_EQ(ReadEntry(pak, "read.txt"), "second");
    EXPECT_EQ(ReadEntry(pak, "stream.bin"), "streamed data");
    // A compressed entry fails when it is opened, not when the pak is.
    EXPECT_THROW(gfPakEntryStream(pak, Entry("packed.bin")), gfInvalidPakFileX);

    folder.Write("empty.pak", gfBuildPak({}));
    EXPECT_EQ(gfPakFile(folder.Locator("empty.pak")).GetEntryCount(), 0u);
}

TEST(gfPakFile, CountsAboveSignedSixteenBits) {
    fsTestFolder folder;
    gfPakBuilderLayout layout;
    for (u32 i = 0; i < 40000; ++i)
        layout.entries.push_back({"f" + std::to_string(i), i == 39999 ? "last" : ""});
    folder.Write("big.pak", gfBuildPak(layout));
    gfPakFile pak(folder.Locator("big.pak"));
    EXPECT_EQ(pak.GetEntryCount(), 40000u);
    EXPECT_EQ(ReadEntry(pak, "f39999"), "last");
}

TEST(gfPakFile, EntriesOutsideTheFile) {
    fsTestFolder folder;
    gfPakBuilderOffsets offsets;
    std::string bytes = gfBuildPak(ThreeEntries(), &offsets);
    const size_t firstCentral = offsets.directory;

    // Local header offset far past the end.
    std::string far = bytes;
    far[firstCentral + 42 + 3] = '\x7F';
    folder.Write("far.pak", far);
    EXPECT_THROW(gfPakEntryStream(gfPakFile(folder.Locator("far.pak")), Entry("data/track.bin")),
                 gfFileNotInPakX);

    // A size whose end overflows 32 bits, and one that merely passes the end of the file.
    for (u32 size : {0xFFFFFFF0u, 2000u}) {
        std::string big = bytes;
        const std::string field = [&] {
            std::string f;
            gfPakPut32(f, size);
            return f;
        }();
        big.replace(offsets.localHeaders[0] + 22, 4, field);
        folder.Write("big.pak", big);
        gfPakFile pak(folder.Locator("big.pak"));
        EXPECT_THROW(gfPakEntryStream(pak, Entry("data/track.bin")), gfFileNotInPakX) << size;
        EXPECT_EQ(ReadEntry(pak, "readme.txt"), "read me");
    }

    // A wrong local signature makes the entry unreadable.
    std::string signature = bytes;
    signature[offsets.localHeaders[1]] = 'Q';
    folder.Write("sig.pak", signature);
    EXPECT_THROW(gfPakEntryStream(gfPakFile(folder.Locator("sig.pak")), Entry("readme.txt")),
                 gfFileNotInPakX);

    // Multi-disk records and a directory reaching past the record are refused.
    for (size_t field : {4u, 6u, 8u, 12u}) {
        std::string bad = bytes;
        bad[offsets.endRecord + field] = '\x09';
        folder.Write("bad.pak", bad);
        EXPECT_THROW(gfPakFile(folder.Locator("bad.pak")), gfInvalidPakFileX) << field;
    }
}

TEST(gfPakFile, FileFailuresAndTheRemovedDisc) {
    fsTestFolder folder;
    dbgLogCapture log;
    folder.Write("a.pak", gfBuildPak(ThreeEntries()));
    folder.Write("text.pak", "not an archive at all");
    folder.Write("tiny.pak", "PK");
    EXPECT_THROW(gfPakFile(folder.Locator("none.pak")), fsFileDoesntExistX);
    EXPECT_THROW(gfPakFile(folder.Locator()), fsReadOnlyX);
    EXPECT_THROW(gfPakFile(folder.Locator("text.pak")), gfInvalidPakFileX);
    EXPECT_THROW(gfPakFile(folder.Locator("tiny.pak")), gfInvalidPakFileX);
    EXPECT_EQ(gfPakFile(folder.Locator("A.PAK")).GetEntryCount(), 3u);

    envSetErrorReportHook(Answer);
    g_answer = 3;
    {
        const fsOpenFailures removed(ENOMEDIUM, 1);
        EXPECT_EQ(gfPakFile(folder.Locator("a.pak")).GetEntryCount(), 3u);
    }
    EXPECT_TRUE(log.Holds("CD Removed (gfPakFile)!!!"));
    g_answer = 4;
    {
        const fsOpenFailures removed(ENOMEDIUM, 1);
        EXPECT_THROW(gfPakFile(folder.Locator("a.pak")), fsUnknownX);
    }
    envSetErrorReportHook(nullptr);
}

TEST(gfPakFile, ZipToolFixtures) {
    if (!HaveZipTool())
        GTEST_SKIP() << "zip is not installed";
    fsTestFolder folder;
    folder.Write("in/Data/Track.bin", "track");
    folder.Write("in/readme.txt", "read me");
    folder.Write("in/Dup/Name.txt", "upper");
    folder.Write("in/Dup/name.txt", "lower");
    folder.Write("in/big.txt", std::string(4000, 'z'));
    folder.Write("prefix.bin", std::string(777, 'p'));
    const std::string in = "cd " + folder.Path("in") + " && ";
    RunCommand(in + "zip -q -0 ../plain.zip Data/Track.bin readme.txt Dup/Name.txt Dup/name.txt");
    RunCommand(in + "zip -q -9 ../deflated.zip readme.txt big.txt");
    RunCommand("cat " + folder.Path("prefix.bin") + " " + folder.Path("plain.zip") + " > " +
               folder.Path("prefixed.zip"));
    RunCommand("cp " + folder.Path("prefixed.zip") + " " + folder.Path("adjusted.zip") + " && zip -q -A " +
               folder.Path("adjusted.zip"));

    for (const char* name : {"plain.zip", "prefixed.zip", "adjusted.zip"}) {
        gfPakFile pak(folder.Locator(name));
        EXPECT_EQ(pak.GetEntryCount(), 3u) << name;
        EXPECT_EQ(ReadEntry(pak, "data/track.bin"), "track") << name;
        EXPECT_EQ(ReadEntry(pak, "README.TXT"), "read me") << name;
        EXPECT_EQ(ReadEntry(pak, "dup/name.txt"), "lower") << name; // the later one
    }
    gfPakFile deflated(folder.Locator("deflated.zip"));
    EXPECT_EQ(ReadEntry(deflated, "readme.txt"), "read me"); // too small to compress: stored
    EXPECT_THROW(gfPakEntryStream(deflated, Entry("big.txt")), gfInvalidPakFileX);
}

TEST(gfPakFile, TruncationSweep) {
    fsTestFolder folder;
    const std::vector<std::string> names = {"data/track.bin", "readme.txt", "empty"};
    for (const char* comment : {"", "a comment"}) {
        gfPakBuilderLayout layout = ThreeEntries();
        layout.comment = comment;
        const std::string bytes = gfBuildPak(layout);
        for (size_t cut = 0; cut < bytes.size(); ++cut) {
            folder.Write("cut.pak", bytes.substr(0, cut));
            OpenAndReadAll(folder.Locator("cut.pak"), names);
        }
    }

    // A pak cut short after it was opened: reads return what is there.
    folder.Write("live.pak", gfBuildPak(ThreeEntries()));
    gfPakFile pak(folder.Locator("live.pak"));
    gfPakEntryStream entry(pak, Entry("data/track.bin"));
    ASSERT_EQ(truncate(folder.Path("live.pak").c_str(), 30 + 14 + 4), 0);
    char buffer[16];
    EXPECT_EQ(entry.Read(buffer, 10), 4u);
    EXPECT_EQ(entry.Read(buffer, 10), 0u);
}

TEST(gfPakFile, CorruptedDirectorySweep) {
    fsTestFolder folder;
    gfPakBuilderOffsets offsets;
    gfPakBuilderLayout layout = ThreeEntries();
    layout.entries.push_back({"stream.bin", "descriptor", 0, true});
    const std::string bytes = gfBuildPak(layout, &offsets);
    const std::vector<std::string> names = {"data/track.bin", "readme.txt", "empty", "stream.bin"};
    // Every byte of the central directory, the end record and the local headers.
    std::vector<size_t> positions;
    for (size_t i = offsets.directory; i < bytes.size(); ++i)
        positions.push_back(i);
    for (size_t header : offsets.localHeaders)
        for (size_t i = header; i < header + 30; ++i)
            positions.push_back(i);
    for (size_t position : positions) {
        for (u8 value : {0x00, 0xFF, 0x7F, 0x80}) {
            std::string bad = bytes;
            bad[position] = static_cast<char>(value);
            folder.Write("bad.pak", bad);
            OpenAndReadAll(folder.Locator("bad.pak"), names);
        }
    }
}
