#include "Source/Screens/coReportException.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G3d/g3dImageFile.h"
#include "Engine/Graphics/May/mayModelFile.h"
#include "Source/SavedCoaster/coInvalidSaveFileX.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coInvalidPropFileX.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsOpenFailures.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/envTestBytes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Should a read ever wait on a pipe of the folder again, a writer comes after a while and ends the wait, so
// that the test fails rather than hangs.
class ReleasedPipes {
  public:
    explicit ReleasedPipes(std::string folder)
        : m_watch([this, folder = std::move(folder)] {
              std::unique_lock lock(m_guard);
              if (m_ended.wait_for(lock, std::chrono::seconds(20), [this] { return m_done; }))
                  return;
              ADD_FAILURE() << "a read waited on a pipe";
              for (int round = 0; round < 100 && !m_done; ++round) {
                  for (const auto& pipe : std::filesystem::directory_iterator(folder))
                      if (const int fd = open(pipe.path().c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
                          close(fd);
                  m_ended.wait_for(lock, std::chrono::milliseconds(100));
              }
          }) {}
    ~ReleasedPipes() {
        {
            const std::lock_guard lock(m_guard);
            m_done = true;
        }
        m_ended.notify_all();
        m_watch.join();
    }

  private:
    std::mutex m_guard;
    std::condition_variable m_ended;
    bool m_done = false;
    std::thread m_watch;
};

fsLocator File() {
    fsLocator file;
    file.AppendComponent("");
    file.AppendComponent("saves");
    file.AppendComponent("a b.csa");
    return file;
}

// A picture damaged inside the pak, or on disc when the pak has no components.
std::exception_ptr DamagedPicture(const fsLocator& file, const fsLocator& pak) {
    g2dDamagedImageX damaged;
    damaged.SetFile(file, pak);
    return std::make_exception_ptr(damaged);
}

// The game's error texts read from a folder, and every notice recorded, for one test.
struct RecordedNotices {
    explicit RecordedNotices(const fsLocator& errors) {
        gfErrorHandler::Init(&errors);
        gfErrorHandler::RegisterPackage(coErrorPackage, envString("coErrors.tsf"));
        gfErrorHandler::SetDisplayer(&displayer);
    }
    ~RecordedNotices() {
        gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
        gfErrorHandler::Shutdown();
    }
    gfRecordingDisplayer displayer;
};

TEST(coReportExceptionTest, EachFailureHasItsTextAndExtra) {
    fsLocator picture;
    picture.AppendComponent("uitm");
    picture.AppendComponent("a.png");
    constexpr u32 kGame = coErrorPackage;
    const struct {
        std::exception_ptr failure;
        u32 package, number;
        const char* extra;
    } rows[] = {
        {std::make_exception_ptr(fsFileDoesntExistX(File())), 4, 4, "/saves/a b.csa"},
        {std::make_exception_ptr(coScreenScriptX(File())), kGame, 8, "/saves/a b.csa"},
        {std::make_exception_ptr(fsDirectoryDoesntExistX(File())), 4, 1, "/saves/a b.csa"},
        {std::make_exception_ptr(gfFileNotInPakX(File())), 7, 5, "/saves/a b.csa"},
        {std::make_exception_ptr(fsReadOnlyX(File())), 4, 8, "/saves/a b.csa"},
        {std::make_exception_ptr(fsUnknownX(File())), kGame, 6, "/saves/a b.csa"},
        {std::make_exception_ptr(snSoundSystemCreateFailedX()), kGame, 4, ""},
        {std::make_exception_ptr(snSoundSystemBufferCreateFailedX()), kGame, 4, ""},
        {std::make_exception_ptr(std::bad_alloc()), kGame, coErrorGeneralGoesOn,
         ": std::bad_alloc (out of memory?)"},
        {std::make_exception_ptr(coInvalidSaveFileX(File())), kGame, coErrorGeneralGoesOn, ": (100-0)"},
        {std::make_exception_ptr(coInvalidPropFileX(File())), kGame, coErrorUnreadableGameFileGoesOn,
         "/saves/a b.csa"},
        {std::make_exception_ptr(chInvalidChunkX()), kGame, coErrorGeneralGoesOn, ": (8-1)"},
        {DamagedPicture(picture, File()), kGame, coErrorUnreadablePictureGoesOn,
         "uitm/a.png in /saves/a b.csa"},
        {DamagedPicture(File(), {}), kGame, coErrorUnreadablePictureGoesOn, "/saves/a b.csa"},
        {std::make_exception_ptr(g2dDamagedImageX()), kGame, coErrorGeneralGoesOn, ": (10-5)"},
        {std::make_exception_ptr(std::runtime_error("x")), kGame, coErrorGeneralGoesOn, ""},
        {std::make_exception_ptr(7), kGame, coErrorGeneralGoesOn, ""},
    };
    for (const auto& row : rows) {
        const coExceptionReport report = coDescribeException(row.failure);
        EXPECT_EQ(report.package, row.package) << row.extra;
        EXPECT_EQ(report.number, row.number) << row.extra;
        EXPECT_EQ(report.extra, row.extra);
    }
}

// A file that cannot be written says why, always in the game's own words, never the system's.
TEST(coReportExceptionTest, AFileThatCannotBeWrittenSaysWhy) {
    const struct {
        std::exception_ptr failure;
        u32 causeText;
    } rows[] = {
        {std::make_exception_ptr(fsUnknownX(File(), ENOSPC)), coErrorDiscFull},
        {std::make_exception_ptr(fsUnknownX(File(), EDQUOT)), coErrorDiscFull},
        {std::make_exception_ptr(fsReadOnlyX(File(), EROFS)), coErrorFolderReadOnly},
        {std::make_exception_ptr(fsReadOnlyX(File(), EACCES)), coErrorFolderReadOnly},
        {std::make_exception_ptr(fsReadOnlyX(File(), EISDIR)), 40},          // a folder, not a file
        {std::make_exception_ptr(fsReadOnlyX(File(), fsNotAFileError)), 41}, // not a file
        {std::make_exception_ptr(fsUnknownX(File(), EINTR)), 42},
        {std::make_exception_ptr(fsUnknownX(File(), EIO)), 43},
        {std::make_exception_ptr(fsUnknownX(File(), ENOENT)), 48}, // a save's temporary went
        {std::make_exception_ptr(fsUnknownX(File(), EXDEV)), 47},  // a reason the game has no words for
        {std::make_exception_ptr(fsUnknownX(File())), 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const coExceptionReport report = coDescribeException(rows[i].failure);
        EXPECT_EQ(report.extra, "/saves/a b.csa") << i;
        EXPECT_EQ(report.causeText, rows[i].causeText) << i;
    }
}

// The saves of one action that fail together make one notice: the first one's text, each file (named
// from the first one's folder), each cause once.
TEST(coReportExceptionTest, FailuresOfOneActionAreToldInOneNotice) {
    fsTestFolder folder;
    gfWriteTextSet(folder.Locator("coErrors.tsf"), 32,
                   {{coErrorUnknownFile, u"A file could not be read or written: "},
                    {coErrorDiscFull, u"The disc is full."}});
    RecordedNotices notices(folder.Locator());
    gfRecordingDisplayer& displayer = notices.displayer;
    fsLocator mission = File();
    mission.RemoveLastComponent();
    mission.AppendComponent("Mission1.cmi");
    coReportFailures({std::make_exception_ptr(fsUnknownX(File(), ENOSPC)),
                      std::make_exception_ptr(fsUnknownX(mission, ENOSPC))});
    ASSERT_EQ(displayer.shown.size(), 1u);
    EXPECT_EQ(displayer.shown[0].message,
              "A file could not be read or written: /saves/a b.csa\nMission1.cmi\nThe disc is full.");
}

// With the game's error texts damaged, a report still says so in plain words, naming their file, and then
// the failed file; the lines of those texts (what is wrong, that the game ends) are left out rather than
// each repeat the fallback.
TEST(coReportExceptionTest, DamagedErrorTextsStillNameTheFailedFile) {
    fsTestFolder folder;
    folder.Write("coErrors.tsf", "");
    RecordedNotices notices(folder.Locator());
    try {
        throw chInvalidChunkX(File());
    } catch (...) {
        coReportCurrentException(coAfterReport::GameEnds);
    }
    ASSERT_EQ(notices.displayer.shown.size(), 1u);
    EXPECT_EQ(notices.displayer.shown[0].message,
              "The game's words for this message cannot be read; reinstalling the game may restore them.\n" +
                  folder.Path("coErrors.tsf") +
                  "\nIt is cut short.\nMessage 16 of package 32, about:\n/saves/a b.csa");
}

// A BMP header (14 + 40 bytes) of one pixel at that depth, with its row.
std::string Bmp(u16 bitCount) {
    return envTestBytes()
        .Text("BM")
        .U32(58)
        .U32(0)
        .U32(54)
        .U32(40)
        .U32(1)
        .U32(1)
        .U16(1)
        .U16(bitCount)
        .U32(0)
        .U32(4)
        .U32(0)
        .U32(0)
        .U32(0)
        .U32(0)
        .U32(0)
        .Str();
}

// Every kind of damage to a game file, met by the game's own loaders: the box names the file (inside its
// pak when one held it) and, in words, what is wrong with it; a file not found by a name read from another
// file names that file too. It says that the game has to end only where it ends, and before an end it says
// so whatever its text; a coaster or mission left unopened is said so, never that the game goes on
// without a part.
TEST(coReportExceptionTest, AnUnreadableFileIsNamedWithWhatIsWrongWithIt) {
    fsTestFolder folder;
    gfWriteTextSet(folder.Locator("coErrors.tsf"), 32,
                   {{coErrorGeneral, u"Ends"},
                    {coErrorGeneralGoesOn, u"Goes on"},
                    {coErrorUnreadableGameFile, u"File ends.\n"},
                    {coErrorUnreadableGameFileGoesOn, u"File goes on.\n"},
                    {coErrorUnreadablePicture, u"Picture ends.\n"},
                    {coErrorUnreadablePictureGoesOn, u"Picture goes on.\n"},
                    {coErrorCutShort, u"Cut short."},
                    {coErrorDamagedContent, u"Damaged."},
                    {coErrorGameEnds, u"The game ends."},
                    {coErrorUnknownFile, u"Not read: "},
                    {21, u"A looping link."},
                    {coErrorNamedIn, u"Named in"},
                    {coErrorUnreadablePictureNotOpened, u"Picture not opened.\n"},
                    {coErrorUnreadableGameFileNotOpened, u"File not opened.\n"},
                    {coErrorGeneralNotOpened, u"Not opened"},
                    {coErrorCoasterNotOpened, u"No coaster."},
                    {coErrorMissionNotOpened, u"No mission."}});
    gfWriteTextSet(folder.Locator("fsErrors.tsf"), 32, {{4, u"Missing.\n"}, {7, u"Invalid.\n"}});
    for (const char* set : {"basicstr.tsf", "fontname.tsf"}) {
        gfWriteTextSet(folder.Locator(set), 32, {{1, u"text"}});
        std::filesystem::resize_file(folder.Path(set), 8);
    }
    folder.Write("empty/basicstr.tsf", "");
    folder.Write("cut.pak", gfBuildPak({{{"a.txt", "a"}}, {}, {}}).substr(0, 8));
    folder.Write("junk.pak", "no pak at all");
    // The interface pak: a picture whose signature is damaged, one cut short, one whose entry's header
    // gives its name another length; beside it on disc a BMP cut short and one of a depth not read.
    g2dPixelRows pixels;
    pixels.width = pixels.height = 8;
    pixels.bytes.assign(8 * 8 * 3, 0x7F);
    const std::string png = g2dEncodePNG(pixels);
    std::string signature = png;
    signature[1] ^= 0x80;
    gfPakBuilderOffsets offsets;
    std::string pak = gfBuildPak(
        {{{"ui/sign.png", signature}, {"ui/cut.png", png.substr(0, png.size() / 2)}, {"ui/head.png", png}},
         {},
         {}},
        &offsets);
    ++pak[offsets.localHeaders[2] + 26];
    const std::string gui = folder.Path("gui"), inPak = " in " + folder.Path("gui/gui.pak");
    folder.Write("gui/gui.pak", pak);
    folder.Write("gui/ui/cut.bmp", Bmp(24).substr(0, 40));
    folder.Write("gui/ui/deep.bmp", Bmp(32));
    folder.MakeFolder("nopak");
    folder.MakeFolder("folderpak/gui.pak");
    folder.MakeFolder("looppak");
    std::filesystem::create_symlink(folder.Path("looppak/gui.pak"), folder.Path("looppak/gui.pak"));
    fsResetRootTable();
    fsSetRootDirectory(coRootGui, folder.Locator("gui"));
    fsSetRootDirectory(coRootProgram, folder.Locator("empty"));
    coPakManager::Create();
    coPakManager::OpenGuiPaks();

    const auto file = [&folder](const char* name) { return folder.Locator(name); };
    const auto picture = [](const char* name) { return fsRootedLocator(coRootGui, name); };
    const auto guiIn = [&folder](const char* directory) {
        fsSetRootDirectory(coRootGui, folder.Locator(directory));
        coPakManager::RequireGuiPaks();
    };
    constexpr coAfterReport goesOn = coAfterReport::GameGoesOn, ends = coAfterReport::GameEnds,
                            coaster = coAfterReport::CoasterNotOpened,
                            mission = coAfterReport::MissionNotOpened;
    const std::string cut = "\nCut short.", damaged = "\nDamaged.", endLine = "\nThe game ends.";
    // A file named in another, whose name there may be damaged.
    const auto namedIn = [](auto failure, const fsLocator& definition, const fsLocator& entry = {}) {
        return [failure, definition, entry]() mutable {
            failure.SetNamedIn(definition, entry);
            throw failure;
        };
    };
    const struct {
        std::function<void()> load;
        coAfterReport after;
        std::string lead; // the text before the file
        std::string named;
        std::string tail;
    } rows[] = {
        {[&] { gfTextSet(file("basicstr.tsf"), 32, true); }, ends, "File ends.\n",
         folder.Path("basicstr.tsf"), cut},
        {[&] { g2dLoadFontNameTable(file("fontname.tsf")); }, goesOn, "File goes on.\n",
         folder.Path("fontname.tsf"), cut},
        {[&] { gfPakFile{file("cut.pak")}; }, ends, "File ends.\n", folder.Path("cut.pak"), cut},
        {[&] { gfPakFile{file("junk.pak")}; }, ends, "File ends.\n", folder.Path("junk.pak"), damaged},
        {[&] { gfTextSet(file("none.tsf"), 32, true); }, ends, "Missing.\n", folder.Path("none.tsf"),
         endLine},
        {coPaths::LoadBasicStrings, ends, "File ends.\n", folder.Path("empty/basicstr.tsf"), cut},
        {[&] { g3dGetImageFileType(picture("ui/sign.png")); }, goesOn, "Picture goes on.\n",
         "ui/sign.png" + inPak, damaged},
        {[&] { g2dGetImageFileType(picture("ui/sign.png")); }, ends, "Picture ends.\n", "ui/sign.png" + inPak,
         damaged},
        {[&] { g2dReadPNG(picture("ui/cut.png")); }, goesOn, "Picture goes on.\n", "ui/cut.png" + inPak, cut},
        {[&] { g2dReadPNG(picture("ui/head.png")); }, goesOn, "File goes on.\n", "ui/head.png" + inPak,
         damaged},
        {[&] { g2dReadBMP(picture("ui/cut.bmp")); }, goesOn, "Picture goes on.\n", gui + "/ui/cut.bmp", cut},
        {[&] { g2dReadBMP(picture("ui/deep.bmp")); }, goesOn, "Picture goes on.\n", gui + "/ui/deep.bmp",
         damaged},
        {[] { throw chInvalidChunkX(); }, goesOn, "Goes on", ": (8-1)", ""},
        {[] { throw chInvalidChunkX(); }, ends, "Ends", ": (8-1)", ""},
        {[&] { throw mayInvalidModelFileX(file("Model/tubedancer.msk")); }, mission, "File not opened.\n",
         folder.Path("Model/tubedancer.msk"), damaged + "\nNo mission."},
        {[&] { g2dReadPNG(picture("ui/cut.png")); }, coaster, "Picture not opened.\n", "ui/cut.png" + inPak,
         cut + "\nNo coaster."},
        {[] { throw chInvalidChunkX(); }, coaster, "Not opened", ": (8-1)", "\nNo coaster."},
        {[&] { gfTextSet(file("none.tsf"), 32, true); }, coaster, "Missing.\n", folder.Path("none.tsf"),
         "\nNo coaster."},
        {namedIn(fsFileDoesntExistX(file("Model/tubetancer.msk")), file("Data/tubedancer.prd")), goesOn,
         "Missing.\n", folder.Path("Model/tubetancer.msk"),
         "\nNamed in " + folder.Path("Data/tubedancer.prd")},
        // A name too long for any file has no path to show: the file that holds it is named.
        {namedIn(fsInvalidLocatorX(file(std::string(300, 'p').c_str())), file("Support.def")), ends,
         "Invalid.\n", "", "Named in " + folder.Path("Support.def") + endLine},
        // A file that names it in a pak is named inside the pak.
        {namedIn(fsFileDoesntExistX(file("gone.mx")), file("gui/gui.pak"), fsRootedLocator(0, "ui/sign.png")),
         goesOn, "Missing.\n", folder.Path("gone.mx"), "\nNamed in ui/sign.png" + inPak},
        // Without the interface pak its file is named, not the first picture looked for.
        {[&] { guiIn("nopak"); }, ends, "Missing.\n", folder.Path("nopak/gui.pak"), endLine},
        {[&] { guiIn("looppak"); }, ends, "Not read: ", folder.Path("looppak/gui.pak"),
         "\nA looping link." + endLine},
        {[&] { throw mayInvalidModelFileX(file("Model/tubedancer.msk")); }, goesOn, "File goes on.\n",
         folder.Path("Model/tubedancer.msk"), damaged},
    };
    RecordedNotices notices(folder.Locator());
    gfRecordingDisplayer& displayer = notices.displayer;
    for (const auto& row : rows) {
        try {
            row.load();
            ADD_FAILURE() << row.named;
        } catch (...) {
            coReportCurrentException(row.after);
        }
        ASSERT_FALSE(displayer.shown.empty());
        EXPECT_EQ(displayer.shown.back().message, row.lead + row.named + row.tail);
    }
    // A folder in the pak's place is opened, so that the file layer's failure names it.
    EXPECT_EQ(CaughtLocator<fsFileFailureX>([&] { guiIn("folderpak"); }),
              folder.Locator("folderpak/gui.pak"));
    coPakManager::Destroy();
    fsResetRootTable();
}

// A file the player may not read (under "refused/", whose opens the system refuses) or a folder in a
// file's place is told as a read; a refused write keeps the words of a write.
TEST(coReportExceptionTest, AFileThatMayNotBeReadIsToldAsARead) {
    fsTestFolder folder;
    gfWriteTextSet(folder.Locator("coErrors.tsf"), 32,
                   {{coErrorUnknownFile, u"Not read or written: "},
                    {coErrorFolderReadOnly, u"Read-only folder."},
                    {40, u"A folder, not a file."},
                    {41, u"Not a file."}});
    gfWriteTextSet(folder.Locator("fsErrors.tsf"), 32,
                   {{8, u"Not written.\n"},
                    {coFsErrorMayNotRead, u"May not read.\n"},
                    {coFsErrorFolderNotFile, u"A folder.\n"},
                    {coFsErrorNotRead, u"Not read:\n"}});
    // A pipe in a file's place is never waited on: a writer that never comes would hold the game.
    folder.MakeFolder("pipe");
    for (const char* file : {"basicstr.tsf", "fontname.tsf", "gui.pak", "My Coaster.csa"})
        ASSERT_EQ(mkfifo(folder.Path("pipe/" + std::string(file)).c_str(), 0600), 0);
    const ReleasedPipes released(folder.Path("pipe"));
    folder.MakeFolder("refused");
    for (const char* set : {"basicstr.tsf", "fontname.tsf"}) {
        gfWriteTextSet(folder.Locator("refused/" + std::string(set)), 32, {{1, u"text"}});
        folder.MakeFolder("folder/" + std::string(set));
    }
    folder.Write("refused/gui.pak", gfBuildPak({{{"a.txt", "a"}}, {}, {}}));
    folder.Write("refused/My Coaster.csa", "KSFB");
    const auto textSet = [](const fsLocator& file) { gfTextSet(file, 32, true); };
    const auto pak = [](const fsLocator& file) { gfPakFile{file}; };
    // The settings' save puts its file in place in one step, which a folder of its name refuses.
    const auto saveOver = [](const fsLocator& file) {
        gfWriteFileAtomically(file, gfByteOrderData, [](gfFile&) {});
    };
    folder.MakeFolder("folder/prefs.bin");
    const struct {
        const char* file;
        std::function<void(const fsLocator&)> load;
        const char* said; // before the path
        const char* cause;
    } rows[] = {
        {"refused/basicstr.tsf", textSet, "May not read.\n", ""},
        {"refused/fontname.tsf", g2dLoadFontNameTable, "May not read.\n", ""},
        {"refused/gui.pak", pak, "May not read.\n", ""},
        {"refused/My Coaster.csa", coLoadCoasterFile, "May not read.\n", ""},
        {"folder/basicstr.tsf", textSet, "A folder.\n", ""},
        {"folder/fontname.tsf", g2dLoadFontNameTable, "A folder.\n", ""},
        {"pipe/basicstr.tsf", textSet, "Not read:\n", "\nNot a file."},
        {"pipe/fontname.tsf", g2dLoadFontNameTable, "Not read:\n", "\nNot a file."},
        {"pipe/gui.pak", pak, "Not read:\n", "\nNot a file."},
        {"pipe/My Coaster.csa", coLoadCoasterFile, "Not read:\n", "\nNot a file."},
        {"refused/prefs.bin", fsCreateFile, "Not written.\n", "\nRead-only folder."},
        {"folder/prefs.bin", saveOver, "Not read or written: ", "\nA folder, not a file."},
    };
    const fsOpenFailures refused(EACCES, -1, [](const char* path, int) {
        return std::string_view(path).find("/refused/") != std::string_view::npos;
    });
    RecordedNotices notices(folder.Locator());
    gfRecordingDisplayer& displayer = notices.displayer;
    for (const auto& row : rows) {
        try {
            row.load(folder.Locator(row.file));
            ADD_FAILURE() << row.file;
        } catch (...) {
            coReportCurrentException();
        }
        ASSERT_FALSE(displayer.shown.empty());
        EXPECT_EQ(displayer.shown.back().message, row.said + folder.Path(row.file) + row.cause);
    }
}

TEST(coReportExceptionTest, OnlyUnreadableContentCountsAsDamage) {
    const struct {
        std::exception_ptr failure;
        bool damaged;
    } rows[] = {
        {std::make_exception_ptr(chInvalidChunkX()), true},
        {std::make_exception_ptr(gfInvalidFileBinX(File())), true},
        {std::make_exception_ptr(coInvalidSaveFileX(File())), true},
        {std::make_exception_ptr(coInvalidPropFileX(File())), true},
        {std::make_exception_ptr(fsFileDoesntExistX(File())), false},
        {std::make_exception_ptr(fsReadOnlyX(File())), false},
        {std::make_exception_ptr(std::bad_alloc()), false},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(coIsDamagedFileFailure(rows[i].failure), rows[i].damaged) << i;
}

TEST(coReportExceptionTest, AFileOfASearchRootIsNamedByItsPathOnDisc) {
    fsTestFolder folder;
    folder.MakeFolder("gui/uimm");
    std::ofstream(folder.Path("gui/uimm/uimm.gsf")) << "damaged";
    fsResetRootTable();
    fsAddRootDirectory(coRootGui, folder.Locator("gui"));
    EXPECT_EQ(
        coDescribeException(std::make_exception_ptr(coScreenScriptX(fsRootedLocator(10, "uimm/uimm.gsf"))))
            .extra,
        folder.Path("gui/uimm/uimm.gsf"));
    // A root without directories has no place on disc to name.
    EXPECT_EQ(
        coDescribeException(std::make_exception_ptr(fsFileDoesntExistX(fsRootedLocator(12, "a.tsf")))).extra,
        "a.tsf");
    fsResetRootTable();
}

} // namespace
