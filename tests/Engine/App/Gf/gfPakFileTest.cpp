#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsOpenFailures.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Env/envEnvironment.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
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

// How far the peak resident size of a child process grows while it runs `action`, in KiB; -1 on failure.
long PeakGrowthKb(const std::function<void()>& action) {
    int result[2];
    if (pipe(result) != 0)
        return -1;
    if (fork() == 0) {
        // The peak is reset to the present size first, so that only what the action adds counts.
        const int fd = open("/proc/self/clear_refs", O_WRONLY);
        const bool reset = fd >= 0 && write(fd, "5", 1) == 1;
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        action();
        getrusage(RUSAGE_SELF, &after);
        const long growth = reset ? after.ru_maxrss - before.ru_maxrss : -1;
        _exit(write(result[1], &growth, sizeof(growth)) == sizeof(growth) ? 0 : 1);
    }
    close(result[1]);
    long growth = -1;
    if (read(result[0], &growth, sizeof(growth)) != sizeof(growth))
        growth = -1;
    close(result[0]);
    wait(nullptr);
    return growth;
}

struct gfPakFileTest : ::testing::Test {
    fsTestFolder folder;
};

} // namespace

TEST_F(gfPakFileTest, EntriesReadLikeFilesAndLayoutsVary) {
    folder.Write("a.pak", gfBuildPak(ThreeEntries()));
    gfPakFile pak(folder.Locator("A.PAK")); // the pak file's name, too, is matched ignoring case
    EXPECT_EQ(pak.GetEntryCount(), 3u);
    EXPECT_EQ(pak.GetEntryNames(), (std::vector<std::string>{"data/track.bin", "empty", "readme.txt"}));
    EXPECT_TRUE(pak.HasEntry(Entry("DATA/track.BIN")));
    EXPECT_FALSE(pak.HasEntry(Entry("Data")));
    EXPECT_THROW(gfPakEntryStream(pak, Entry("none")), gfFileNotInPakX);

    // Reads return the bytes copied; a seek before the start fails and leaves the position.
    gfPakEntryStream entry(pak, Entry("data/track.bin"));
    char buffer[16] = {};
    EXPECT_EQ(entry.Seek(6, 0), 6u);
    EXPECT_EQ(entry.Read(buffer, 10), 4u);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_EQ(entry.Seek(-10, 1), 0u);
    EXPECT_THROW(entry.Seek(-1, 1), fsInvalidLocatorX);
    EXPECT_THROW(entry.Seek(-11, 2), fsInvalidLocatorX);
    EXPECT_EQ(entry.Tell(), 0u);
    EXPECT_EQ(entry.Seek(50, 0), 50u);
    EXPECT_EQ(entry.Read(buffer, 4), 0u);
    fsLocator tooLong;
    tooLong.AppendComponent(std::string(300, 'x').c_str());
    EXPECT_THROW(pak.HasEntry(tooLong), fsInvalidLocatorX);

    // Data before the archive; the end record at most 65535 bytes from the end (a 65513-byte comment).
    gfPakBuilderLayout layout = ThreeEntries();
    layout.prefix = std::string(1000, '#');
    layout.comment = std::string(65513, 'c');
    EXPECT_EQ(ReadEntry(gfPakFile(folder.Write("comment.pak", gfBuildPak(layout))), "readme.txt"), "read me");
    layout.comment += 'c';
    EXPECT_THROW(gfPakFile(folder.Write("toolong.pak", gfBuildPak(layout))), gfInvalidPakFileX);

    // The later of two names equal but for case wins; data descriptors use the central sizes; a
    // compressed entry fails when it is opened, not when the pak is.
    gfPakBuilderLayout twice;
    twice.entries = {{"Read.txt", "first"},
                     {"READ.TXT", "second"},
                     {"stream.bin", "streamed data", 0, true},
                     {"packed.bin", "\x01\x02\x03", 8}};
    gfPakFile other(folder.Write("twice.pak", gfBuildPak(twice)));
    EXPECT_EQ(other.GetEntryCount(), 3u);
    EXPECT_EQ(ReadEntry(other, "read.txt"), "second");
    EXPECT_EQ(ReadEntry(other, "stream.bin"), "streamed data");
    EXPECT_THROW(gfPakEntryStream(other, Entry("packed.bin")), gfInvalidPakFileX);
}

TEST_F(gfPakFileTest, CountsAboveSignedSixteenBits) {
    gfPakBuilderLayout layout;
    for (u32 i = 0; i < 40000; ++i)
        layout.entries.push_back({"f" + std::to_string(i), i == 39999 ? "last" : ""});
    gfPakFile pak(folder.Write("big.pak", gfBuildPak(layout)));
    EXPECT_EQ(pak.GetEntryCount(), 40000u);
    EXPECT_EQ(ReadEntry(pak, "f39999"), "last");
}

TEST_F(gfPakFileTest, EntriesOutsideTheFile) {
    gfPakBuilderOffsets offsets;
    const std::string bytes = gfBuildPak(ThreeEntries(), &offsets);
    const auto patched = [&](size_t at, u32 value) {
        std::string out = bytes;
        out.replace(at, 4, envTestBytes().U32(value).Str());
        return folder.Write("bad.pak", out);
    };
    // A local header far past the end, a size whose end overflows 32 bits, one past the end of the
    // file, one the directory does not give, a wrong local signature, a name of another length: that
    // entry is damaged, named inside its pak, and the others still read.
    const std::pair<size_t, u32> entryFaults[] = {
        {offsets.directory + 42, 0x7F000000u},  {offsets.localHeaders[0] + 22, 0xFFFFFFF0u},
        {offsets.localHeaders[0] + 22, 2000u},  {offsets.localHeaders[0] + 22, 9u},
        {offsets.localHeaders[0], 0x04034b51u}, {offsets.localHeaders[0] + 26, 15u}};
    for (const auto& [at, value] : entryFaults) {
        SCOPED_TRACE(value);
        const fsLocator file = patched(at, value);
        gfPakFile pak(file);
        try {
            gfPakEntryStream entry(pak, Entry("data/track.bin"));
            ADD_FAILURE();
        } catch (const gfInvalidPakFileX& e) {
            EXPECT_EQ(std::tuple(e.GetLocator(), e.GetEntry()), std::tuple(file, Entry("data/track.bin")));
        }
        EXPECT_EQ(ReadEntry(pak, "readme.txt"), "read me");
    }
    // Multi-disk records and a directory reaching past the record are refused.
    for (size_t field : {4u, 6u, 8u, 12u})
        EXPECT_THROW(gfPakFile(patched(offsets.endRecord + field, 0x09090909u)), gfInvalidPakFileX) << field;

    // An entry more than the directory holds is refused, though the comment after it reads like a header.
    gfPakBuilderLayout commented = ThreeEntries();
    commented.comment = std::string(100, '\0');
    std::string bytes4 = gfBuildPak(commented, &offsets);
    bytes4.replace(offsets.endRecord + 8, 4, envTestBytes().U16(4).U16(4).Str());
    EXPECT_THROW(gfPakFile(folder.Write("four.pak", bytes4)), gfInvalidPakFileX);
}

// An end record declaring a 3.5 GiB directory in front of it, in a sparse file: opening it costs no more
// memory than opening a real pak of two entries (reading the declared directory whole took 3.5 GiB).
TEST_F(gfPakFileTest, AHugeDeclaredDirectoryCostsNoMemory) {
    gfPakBuilderLayout two;
    two.entries = {{"a.txt", "a"}, {"b.txt", "b"}};
    folder.Write("real.pak", gfBuildPak(two));
    constexpr u32 kSize = 3584u << 20;
    const std::string record =
        envTestBytes().U32(0x06054b50).U16(0).U16(0).U16(2).U16(2).U32(kSize - 22).U32(0).U16(0).Str();
    folder.Write("sparse.pak", "");
    ASSERT_EQ(truncate(folder.Path("sparse.pak").c_str(), kSize), 0);
    const int fd = open(folder.Path("sparse.pak").c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_EQ(pwrite(fd, record.data(), record.size(), kSize - record.size()), 22);
    close(fd);
    const auto growth = [&](const char* name) {
        return PeakGrowthKb([&] { OpenAndReadAll(folder.Locator(name), {}); });
    };
    const long real = growth("real.pak"), sparse = growth("sparse.pak");
    if (real < 0 || sparse < 0)
        GTEST_SKIP() << "the peak resident size cannot be reset here";
    EXPECT_LE(sparse, 2 * real + 1024) << real << " KiB for the real pak";
}

TEST_F(gfPakFileTest, FileFailuresAndTheRemovedDisc) {
    dbgLogCapture log;
    folder.Write("a.pak", gfBuildPak(ThreeEntries()));
    EXPECT_THROW(gfPakFile(folder.Locator("none.pak")), fsFileDoesntExistX);
    EXPECT_THROW(gfPakFile(folder.Locator()), fsReadOnlyX);

    // The retry question names the pak reader; OK opens it after all.
    envSetErrorReportHook([](u32, u32, u32, const char*) -> u32 { return 3; });
    {
        const fsOpenFailures removed(ENOMEDIUM, 1);
        EXPECT_EQ(gfPakFile(folder.Locator("a.pak")).GetEntryCount(), 3u);
    }
    envSetErrorReportHook(nullptr);
    EXPECT_TRUE(log.Holds("CD Removed (gfPakFile)!!!"));
}

// Archives of the zip tool: stored, with data prepended (offsets as they were, and adjusted), with
// names equal but for case, and a deflated entry.
TEST(gfPakFile, ZipToolFixtures) {
    if (std::system("zip -v > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "zip is not installed";
    fsTestFolder folder;
    folder.Write("in/Data/Track.bin", "track");
    folder.Write("in/readme.txt", "read me");
    folder.Write("in/Dup/Name.txt", "upper");
    folder.Write("in/Dup/name.txt", "lower");
    folder.Write("in/big.txt", std::string(4000, 'z'));
    folder.Write("prefix.bin", std::string(777, 'p'));
    const std::string in = "cd " + folder.Path("in") + " && ";
    for (const std::string& command :
         {in + "zip -q -0 ../plain.zip Data/Track.bin readme.txt Dup/Name.txt Dup/name.txt",
          in + "zip -q -9 ../deflated.zip readme.txt big.txt",
          "cat " + folder.Path("prefix.bin") + " " + folder.Path("plain.zip") + " > " +
              folder.Path("prefixed.zip"),
          "cp " + folder.Path("prefixed.zip") + " " + folder.Path("adjusted.zip") + " && zip -q -A " +
              folder.Path("adjusted.zip")})
        ASSERT_EQ(std::system(command.c_str()), 0) << command;

    for (const char* name : {"plain.zip", "prefixed.zip", "adjusted.zip"}) {
        SCOPED_TRACE(name);
        gfPakFile pak(folder.Locator(name));
        EXPECT_EQ(pak.GetEntryCount(), 3u);
        EXPECT_EQ(ReadEntry(pak, "data/track.bin"), "track");
        EXPECT_EQ(ReadEntry(pak, "README.TXT"), "read me");
        EXPECT_EQ(ReadEntry(pak, "dup/name.txt"), "lower"); // the later one
    }
    gfPakFile deflated(folder.Locator("deflated.zip"));
    EXPECT_EQ(ReadEntry(deflated, "readme.txt"), "read me"); // too small to compress: stored
    EXPECT_THROW(gfPakEntryStream(deflated, Entry("big.txt")), gfInvalidPakFileX);
}

// Cut at every byte, and every header byte corrupted: only the loader's exceptions come out.
TEST_F(gfPakFileTest, TruncationAndCorruptionSweeps) {
    gfPakBuilderOffsets offsets;
    gfPakBuilderLayout layout = ThreeEntries();
    layout.entries.push_back({"stream.bin", "descriptor", 0, true});
    layout.comment = "a comment";
    const std::string bytes = gfBuildPak(layout, &offsets);
    const std::vector<std::string> names = {"data/track.bin", "readme.txt", "empty", "stream.bin"};
    const auto check = [&](const std::string& variant) {
        OpenAndReadAll(folder.Write("bad.pak", variant), names);
    };
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        check(bytes.substr(0, cut));
    // Cut before its end record is whole, the pak is told as cut short.
    for (size_t cut = 0; cut < offsets.endRecord + 22; ++cut)
        try {
            gfPakFile pak(folder.Write("cut.pak", bytes.substr(0, cut)));
            ADD_FAILURE() << cut;
        } catch (const gfInvalidPakFileX& e) {
            EXPECT_EQ(e.GetDamage(), gfDamage::CutShort) << cut;
        }
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
            check(bad);
        }
    }

    // A pak cut short after it was opened: reads return what is there.
    gfPakFile pak(folder.Write("live.pak", gfBuildPak(ThreeEntries())));
    gfPakEntryStream entry(pak, Entry("data/track.bin"));
    ASSERT_EQ(truncate(folder.Path("live.pak").c_str(), 30 + 14 + 4), 0);
    char buffer[16];
    EXPECT_EQ(entry.Read(buffer, 10), 4u);
    EXPECT_EQ(entry.Read(buffer, 10), 0u);
}
