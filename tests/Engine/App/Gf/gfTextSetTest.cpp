#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsOpenFailures.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/Core/Env/dbgLogCapture.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

// Text-set bytes: the data-file header, the tag, then the number, the count and the entries.
class SetBytes : public envTestBytesOf<SetBytes> {
  public:
    SetBytes(const char* magic = "KSFB", u8 byteOrder = 2, const char* tag = "KSTS") {
        Text(magic).U8(byteOrder).Text(std::string(3, '\0')).Text(tag);
    }
    SetBytes& Entry(u32 id, const std::u16string& text) {
        U32(id).U16(static_cast<u16>(text.size()));
        for (char16_t unit : text)
            U16(unit);
        return *this;
    }
};

// The example set: number 32, text 1 "Hi", text 2 empty.
std::string Golden() {
    return SetBytes().U32(32).U32(2).Entry(1, u"Hi").Entry(2, u"").Str();
}

// Answers for every locator of root 7 with the one pak.
class OnePak : public gfPakSearcher::PakLocator {
  public:
    gfPakFile* Locate(i32 root, const fsLocator&, fsLocator&) override { return root == 7 ? pak : nullptr; }
    gfPakFile* pak = nullptr;
};

class gfTextSetTest : public ::testing::Test {
  protected:
    fsLocator Put(const std::string& bytes) { return m_folder.Write("set.tsf", bytes); }
    std::string File() const { return m_folder.Read("set.tsf"); }

    fsTestFolder m_folder;
};

} // namespace

TEST_F(gfTextSetTest, GoldenBytesReadAndWrittenBack) {
    const fsLocator locator = Put(Golden());
    {
        gfTextSet set(locator, 7, true);
        EXPECT_EQ(set.GetSetNumber(), 32u); // the file's number replaces the caller's
        EXPECT_EQ(set.GetText(1), envString("Hi"));
        EXPECT_TRUE(set.HasText(2));
        EXPECT_EQ(set.GetTexts().size(), 2u);
    }
    gfTextSet(locator, 32, false).Save();
    EXPECT_EQ(File(), Golden());

    // Written from scratch into an empty file, the same texts give the same bytes.
    const fsLocator fresh = Put("");
    {
        gfTextSet set(fresh, 32, false);
        set.SetText(2, envString());
        set.SetText(1, envString("Hi"));
    }
    EXPECT_EQ(File(), Golden());
}

TEST_F(gfTextSetTest, DuplicatesAndRewritingInPlace) {
    // The later entry of an id wins; a rewrite is not truncated, the count tells where texts end.
    const std::string bytes =
        SetBytes().U32(32).U32(3).Entry(5, u"first").Entry(5, u"second").Entry(9, u"x").Str();
    const fsLocator locator = Put(bytes);
    {
        gfTextSet set(locator, 32, false);
        EXPECT_EQ(set.GetText(5), envString("second"));
        set.SetText(9, envString("y"));
    }
    const std::string expected = SetBytes().U32(32).U32(2).Entry(5, u"second").Entry(9, u"y").Str();
    EXPECT_EQ(File(), expected + bytes.substr(expected.size()));
}

TEST_F(gfTextSetTest, AFailedSaveLeavesTheOldSetWhole) {
    const fsLocator locator = Put(Golden());
    gfTextSet set(locator, 32, false);
    set.SetText(1, envString("changed"));
    {
        // Opening the finished temporary for its content fails, as a full disc would.
        const fsOpenFailures full(ENOSPC, -1, [](const char* path, int flags) {
            const std::string name(path);
            return name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0 && !(flags & O_CREAT);
        });
        EXPECT_THROW(set.Save(), fsUnknownX);
    }
    EXPECT_EQ(File(), Golden());
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path("set.tsf.tmp")));
    set.Save();
    EXPECT_EQ(gfTextSet(locator, 32, true).GetText(1), envString("changed"));
}

TEST_F(gfTextSetTest, HeadersAndTags) {
    EXPECT_EQ(gfTextSet(Put(SetBytes("BRFB").U32(32).U32(1).Entry(3, u"ok").Str()), 32, true).GetText(3),
              envString("ok"));
    // Byte 4 must be 2, the tag KSTS.
    const fsLocator locator = Put(SetBytes("KSFB", 0).U32(32).U32(0).Str());
    EXPECT_EQ(CaughtLocator<gfInvalidTextSetFileX>([&] { gfTextSet set(locator, 32, true); }), locator);
    EXPECT_THROW(gfTextSet(Put(SetBytes("KSFB", 2, "KSTX").U32(32).U32(0).Str()), 32, true),
                 gfInvalidTextSetFileX);
    EXPECT_THROW(gfTextSet(Put(SetBytes("XSFB").U32(32).U32(0).Str()), 32, true), gfInvalidFileBinX);
    EXPECT_THROW(gfTextSet(m_folder.Locator("missing.tsf"), 32, false), fsFileDoesntExistX);
}

TEST_F(gfTextSetTest, ReadOnlySetsAreNeverWritten) {
    // A set of no texts read-only; a missing id reads as empty and is not added.
    const std::string none = SetBytes().U32(40).U32(0).Str();
    const fsLocator locator = Put(none);
    {
        gfTextSet set(locator, 40, true);
        EXPECT_EQ(set.GetText(12).GetLength(), 0u);
        EXPECT_TRUE(set.GetTexts().empty());
        EXPECT_THROW(set.SetText(1, envString("no")), fsReadOnlyX);
        EXPECT_THROW(set.Save(), fsReadOnlyX);
    }
    EXPECT_EQ(File(), none);
    // Writable, an empty file is a new set: it gets its header when it is closed.
    Put("");
    { gfTextSet set(locator, 40, false); }
    EXPECT_EQ(File(), SetBytes().U32(40).U32(0).Str());
    // An unchanged writable set leaves its file alone.
    Put(Golden() + "tail");
    { gfTextSet set(locator, 32, false); }
    EXPECT_EQ(File(), Golden() + "tail");

    // Writing refused: the set falls back to reading.
    Put(Golden());
    {
        const fsOpenFailures refuse(EACCES, -1,
                                    [](const char*, int flags) { return (flags & O_ACCMODE) != O_RDONLY; });
        gfTextSet set(locator, 32, false);
        EXPECT_FALSE(set.IsWritable());
        EXPECT_EQ(set.GetText(1), envString("Hi"));
        EXPECT_THROW(set.SetText(1, envString("changed")), fsReadOnlyX);
        // An empty file that only reading reaches is no new set but one cut short.
        Put("");
        EXPECT_THROW(gfTextSet(locator, 32, false), gfInvalidTextSetFileX);
        Put(Golden());
    }
    EXPECT_EQ(File(), Golden());
}

TEST_F(gfTextSetTest, LongTextsAreCutToTheLargestCount) {
    const dbgLogCapture log;
    const fsLocator locator = Put("");
    {
        gfTextSet set(locator, 32, false);
        envString text;
        text.Resize(40000);
        set.SetText(1, text);
    }
    EXPECT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(gfTextSet(locator, 32, true).GetText(1).GetLength(), 32767u);
}

// Cut at every byte, even to nothing, and counts and lengths replaced: every cut is told as one, a cut in
// the header as a header cut short; counts never outrun the file; negative ones read as nothing.
TEST_F(gfTextSetTest, TruncationAndOversizeSweeps) {
    const std::string whole =
        SetBytes().U32(32).U32(3).Entry(1, u"Hi").Entry(2, u"").Entry(700, u"\u00E9t\u00E9 \u20AC").Str();
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        const fsLocator locator = Put(whole.substr(0, cut));
        try {
            gfTextSet set(locator, 32, true);
            ADD_FAILURE() << cut;
        } catch (const gfInvalidContentX& e) {
            EXPECT_EQ(e.GetCode(), cut > 0 && cut < 8 ? gfInvalidFileBinX(locator).GetCode()
                                                      : gfInvalidTextSetFileX(locator).GetCode())
                << cut;
            EXPECT_EQ(e.GetDamage(), gfDamage::CutShort) << cut;
            EXPECT_EQ(e.GetLocator(), locator) << cut;
        }
    }
    EXPECT_EQ(gfTextSet(Put(whole), 32, true).GetText(700), envString(u"\u00E9t\u00E9 \u20AC"));

    EXPECT_THROW(gfTextSet(Put(SetBytes().U32(32).U32(0x7FFFFFFF).Entry(1, u"a").Str()), 32, true),
                 gfInvalidTextSetFileX);
    EXPECT_THROW(gfTextSet(Put(SetBytes().U32(32).U32(1).U32(1).U16(0x7FFF).U32(0).Str()), 32, true),
                 gfInvalidTextSetFileX);
    EXPECT_TRUE(
        gfTextSet(Put(SetBytes().U32(32).U32(0x80000000).Entry(1, u"a").Str()), 32, true).GetTexts().empty());
    EXPECT_EQ(
        gfTextSet(Put(SetBytes().U32(32).U32(1).U32(4).U16(0xFFFF).Str()), 32, true).GetText(4).GetLength(),
        0u);
    const std::string two = SetBytes().U32(32).U32(2).Entry(1, u"Hello").Entry(2, u"World").Str();
    for (size_t at = 8; at + 2 <= two.size(); ++at) {
        for (u16 bad : {u16{0xFFFF}, u16{0x7FFF}, u16{0x8000}}) {
            std::string bytes = two;
            bytes[at] = static_cast<char>(bad);
            bytes[at + 1] = static_cast<char>(bad >> 8);
            try {
                gfTextSet set(Put(bytes), 32, true);
            } catch (const gfInvalidTextSetFileX&) {
            }
        }
    }
}

TEST_F(gfTextSetTest, ReadOnlySetsAreReadFromPaks) {
    gfPakBuilderLayout layout;
    layout.entries.push_back({"errors/eng/fserrors.tsf", Golden()});
    layout.entries.push_back({"errors/eng/cut.tsf", ""});
    gfPakFile pak(m_folder.Write("data.pak", gfBuildPak(layout)));
    OnePak locator;
    locator.pak = &pak;
    fsResetRootTable();
    fsAddRootDirectory(7, m_folder.Locator());
    gfPakSearcher::SetPakLocator(&locator);
    const fsLocator inPak = fsRootedLocator(7, "Errors/Eng/fsErrors.tsf");
    EXPECT_EQ(gfTextSet(inPak, 32, true).GetText(1), envString("Hi"));
    EXPECT_THROW(gfTextSet(fsRootedLocator(7, "Errors/Eng/cut.tsf"), 32, true), gfInvalidTextSetFileX);
    // Writable sets live on disc only, where this one is not.
    EXPECT_THROW(gfTextSet(inPak, 32, false), fsDirectoryDoesntExistX);
    gfPakSearcher::SetPakLocator(nullptr);
    fsResetRootTable();
}
