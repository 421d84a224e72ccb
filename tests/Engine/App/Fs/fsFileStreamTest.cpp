#include "Engine/App/Fs/fsFileStream.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsOpenFailures.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Env/envEnvironment.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace {

u32 g_answer = 0;
u32 g_questions = 0;
u32 AnswerHook(u32 type, u32 package, u32 number, const char*) {
    ++g_questions;
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(package, 4u);
    EXPECT_EQ(number, 9u);
    errno = ENOENT; // whatever the dialog does to errno must not change the outcome
    return g_answer;
}

class fsFileStreamTest : public ::testing::Test {
  protected:
    void TearDown() override { envSetErrorReportHook(nullptr); }
    // The next count opens fail with the error.
    void FailOpens(int count, int error) {
        m_failures.reset();
        m_failures.emplace(error, count);
    }

    fsTestFolder m_folder;
    dbgLogCapture m_log;
    std::optional<fsOpenFailures> m_failures;
};

} // namespace

TEST_F(fsFileStreamTest, ReadWriteSeekOnAnExistingFile) {
    const fsLocator file = m_folder.Locator("data.bin");
    fsCreateFile(file);
    {
        fsFileStream out(file, 1);
        out.Write(6, "abcdef");
        EXPECT_EQ(out.Tell(), 6u);
        EXPECT_EQ(out.Seek(-2, 1), 4u);
        out.Write(2, "XY");
    }
    {
        // Opening for writing never truncates.
        fsFileStream out(file, 1);
        out.Write(1, "A");
    }
    fsFileStream in(file, 0);
    char buffer[16] = {};
    EXPECT_EQ(in.Read(16, buffer), 6u); // short only at the end
    EXPECT_EQ(std::string(buffer, 6), "AbcdXY");
    EXPECT_EQ(in.Read(4, buffer), 0u);
    EXPECT_EQ(in.Seek(-3, 2), 3u);
    EXPECT_EQ(in.Read(1, buffer), 1u);
    EXPECT_EQ(buffer[0], 'd');
    EXPECT_EQ(in.GetLocator(), file);

    // A seek before the start fails and leaves the position alone.
    EXPECT_THROW(in.Seek(-10, 1), fsInvalidLocatorX);
    EXPECT_EQ(in.Tell(), 4u);
    // Past the end is allowed; reading there gives nothing.
    EXPECT_EQ(in.Seek(100, 0), 100u);
    EXPECT_EQ(in.Read(4, buffer), 0u);
    // Writing a stream opened for reading fails and keeps the position.
    EXPECT_THROW(in.Write(1, "x"), fsUnknownX);
    EXPECT_EQ(in.Tell(), 100u);
}

TEST_F(fsFileStreamTest, OpenFailuresCarryTheLocator) {
    const fsLocator missing = m_folder.Locator("missing.bin");
    EXPECT_EQ(CaughtLocator<fsFileDoesntExistX>([&] { fsFileStream s(missing, 0); }), missing);
    EXPECT_EQ(CaughtLocator<fsFileDoesntExistX>([&] { fsFileStream s(missing, 1); }), missing);
    const fsLocator noFolder = m_folder.Locator("nofolder/x.bin");
    EXPECT_EQ(CaughtLocator<fsDirectoryDoesntExistX>([&] { fsFileStream s(noFolder, 0); }), noFolder);
    m_folder.Write("file", "x");
    EXPECT_THROW(fsFileStream(m_folder.Locator("file/x.bin"), 0), fsDirectoryDoesntExistX);

    // Linux opens folders; a file stream must refuse them in every mode.
    m_folder.MakeFolder("dir");
    EXPECT_THROW(fsFileStream(m_folder.Locator("dir"), 0), fsReadOnlyX);
    EXPECT_THROW(fsFileStream(m_folder.Locator("dir"), 2), fsReadOnlyX);

    fsLocator tooLong = m_folder.Locator();
    tooLong.AppendComponent(std::string(300, 'x').c_str());
    EXPECT_THROW(fsFileStream(tooLong, 0), fsInvalidLocatorX);
    EXPECT_THROW(fsFileStream(fsLocator(), 0), fsInvalidLocatorX);
    EXPECT_THROW(fsFileStream(m_folder.Locator("file"), 3), fsInvalidLocatorX);
}

TEST_F(fsFileStreamTest, ReadsMatchNamesIgnoringCaseButCreatesNever) {
    m_folder.Write("Data/Tracks/Loop.BIN", "loop");
    fsFileStream in(m_folder.Locator("data/TRACKS/loop.bin"), 0);
    char buffer[4];
    EXPECT_EQ(in.Read(4, buffer), 4u);
    EXPECT_TRUE(fsFileExists(m_folder.Locator("DATA/tracks/LOOP.bin")));
    EXPECT_TRUE(fsDirectoryExists(m_folder.Locator("data/tracks")));
    EXPECT_FALSE(fsFileExists(m_folder.Locator("data/tracks/loop.bin.x")));

    // Creating a differently cased name makes a new file beside the old one.
    fsCreateFile(m_folder.Locator("Data/Tracks/loop.bin"));
    EXPECT_EQ(m_folder.Read("Data/Tracks/loop.bin"), "");
    EXPECT_EQ(m_folder.Read("Data/Tracks/Loop.BIN"), "loop");
    // With the exact name present, reads take it.
    fsFileStream exact(m_folder.Locator("Data/Tracks/loop.bin"), 0);
    EXPECT_EQ(exact.Read(4, buffer), 0u);

    // A creation under a folder that exists only in another case fails.
    EXPECT_THROW(fsCreateFile(m_folder.Locator("data/new.bin")), fsDirectoryDoesntExistX);
    // A missing file in a folder found by case is reported as a missing file, not folder.
    EXPECT_THROW(fsFileStream(m_folder.Locator("data/none.bin"), 0), fsFileDoesntExistX);
}

// Lookups in another case keep an unchanged folder's listing, and see a name that comes or goes at once.
TEST_F(fsFileStreamTest, LookupsInAnotherCaseSeeNamesThatComeAndGo) {
    const auto read = [&] {
        fsFileStream in(m_folder.Locator("Old/lOOp.bin"), 0);
        char bytes[8];
        return std::string(bytes, in.Read(sizeof bytes, bytes));
    };
    // Listings of a folder changed in the last moments are not kept: its time may not move again.
    const auto age = [&](time_t seconds) {
        const timespec then[2] = {{time(nullptr) - seconds, 0}, {time(nullptr) - seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, m_folder.Path("Old").c_str(), then, 0), 0);
    };
    m_folder.Write("Old/Loop.BIN", "loop");
    age(3600);
    EXPECT_EQ(read(), "loop");
    // The first in byte order of the names that differ only in case is taken.
    m_folder.Write("Old/LOOP.BIN", "upper");
    age(1800);
    EXPECT_EQ(read(), "upper");
    fsDeleteFile(m_folder.Locator("Old/LOOP.BIN"));
    EXPECT_EQ(read(), "loop");
}

TEST_F(fsFileStreamTest, RemovedMediumAsksUntilOkOrCancel) {
    const fsLocator file = m_folder.Write("disc.bin", "d");

    // OK twice: the open is tried three times and succeeds.
    envSetErrorReportHook(AnswerHook);
    g_answer = 3;
    g_questions = 0;
    FailOpens(2, ENOMEDIUM);
    {
        fsFileStream s(file, 0);
        EXPECT_EQ(g_questions, 2u);
    }
    EXPECT_TRUE(m_log.Holds("CD Removed (fsFileStream)!!!"));

    // Cancel: the saved errno decides nothing any more; the refusal is fsUnknownX.
    g_answer = 4;
    g_questions = 0;
    FailOpens(5, EIO);
    EXPECT_EQ(CaughtLocator<fsUnknownX>([&] { fsFileStream s(file, 0); }), file);
    EXPECT_EQ(g_questions, 1u);

    // No hook installed answers 0, a refusal.
    envSetErrorReportHook(nullptr);
    FailOpens(1, ENOMEDIUM);
    EXPECT_THROW(fsFileStream(file, 0), fsUnknownX);

    // Permission failures cannot be made as root; inject them.
    FailOpens(1, EACCES);
    EXPECT_THROW(fsFileStream(file, 2), fsReadOnlyX);
    FailOpens(1, EBUSY);
    EXPECT_THROW(fsFileStream(file, 0), fsFileInUseX);
}

// A full medium is a failure, not a short success; a device in a file's place is never opened as one.
TEST(fsFileStream, AFullMediumIsAFailureNotAShortSuccess) {
    fsTestFolder folder;
    folder.Write("a.dat", "");
    fsFileStream out(folder.Locator("a.dat"), 1);
    {
        const fsWriteCalls full(ENOSPC);
        EXPECT_THROW(out.Write(4, "data"), fsUnknownX);
    }
    EXPECT_EQ(out.Tell(), 0u);
    fsLocator device;
    fsLocatorFromNativePath("/dev/full", device);
    if (fsFileExists(device)) {
        EXPECT_THROW(fsFileStream(device, 1), fsReadOnlyX);
    }
}

TEST(fsErrnoTable, EveryRowPerOperation) {
    fsTestFolder folder;
    const fsLocator loc = folder.Locator("x");
    const std::string existingParent = folder.Path("x");
    const std::string missingParent = folder.Path("none/x");
    auto code = [&](int error, fsOperation op, const std::string& path) -> u32 {
        try {
            fsThrowErrno(error, op, loc, path);
        } catch (const envExceptionX& e) {
            return e.GetCode();
        }
        return 0;
    };
    using enum fsOperation;
    EXPECT_EQ(code(ENOENT, Open, existingParent), fsFileDoesntExistX(loc).GetCode());
    EXPECT_EQ(code(ENOENT, Open, missingParent), fsDirectoryDoesntExistX(loc).GetCode());
    EXPECT_EQ(code(ENOTDIR, Open, existingParent), fsDirectoryDoesntExistX(loc).GetCode());
    for (int error : {EACCES, EPERM, EROFS, EISDIR})
        EXPECT_EQ(code(error, Open, existingParent), fsReadOnlyX(loc).GetCode()) << error;
    // A refusal says whether a read or a write was refused.
    for (fsOperation op : {Read, Open, Create, Transfer})
        for (int error : {EACCES, EPERM, EISDIR})
            try {
                fsThrowErrno(error, op, loc, existingParent);
            } catch (const fsReadOnlyX& e) {
                EXPECT_EQ(e.GetAccess(), op == Read ? fsAccess::Read : fsAccess::Write) << error;
            }
    EXPECT_EQ(code(EEXIST, Create, existingParent), fsFileExistsX(loc).GetCode());
    EXPECT_EQ(code(EEXIST, Copy, existingParent), fsFileExistsX(loc).GetCode());
    EXPECT_EQ(code(EEXIST, MakeDirectory, existingParent), fsUnknownX(loc).GetCode());
    EXPECT_EQ(code(EEXIST, RemoveDirectory, existingParent), fsDirectoryNotEmptyX(loc).GetCode());
    EXPECT_EQ(code(ENOTEMPTY, RemoveDirectory, existingParent), fsDirectoryNotEmptyX(loc).GetCode());
    EXPECT_EQ(code(EBUSY, Delete, existingParent), fsFileInUseX(loc).GetCode());
    EXPECT_EQ(code(ENAMETOOLONG, Open, existingParent), fsInvalidLocatorX(loc).GetCode());
    EXPECT_EQ(code(EINVAL, Transfer, {}), fsInvalidLocatorX(loc).GetCode());
    EXPECT_EQ(code(ENOSPC, Transfer, {}), fsUnknownX(loc).GetCode());
    EXPECT_EQ(code(EMFILE, Open, existingParent), fsUnknownX(loc).GetCode());
}
