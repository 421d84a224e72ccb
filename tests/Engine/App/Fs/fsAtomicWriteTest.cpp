#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileStream.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsOpenFailures.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Fs/fsWriteCalls.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// In 4 KiB pieces, so that a kill can land between them.
void WriteInPieces(const fsLocator& temporary, const std::string& bytes) {
    fsFileStream out(temporary, 1);
    for (size_t at = 0; at < bytes.size(); at += 4096)
        out.Write(static_cast<u32>(std::min<size_t>(4096, bytes.size() - at)), bytes.data() + at);
}

// The temporaries a stopped save left in the folder: its files named as the target and ".tmp".
int Temporaries(const fsTestFolder& folder, const std::string& target) {
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        found += entry.path().filename().string().starts_with(target + ".") &&
                 entry.path().filename().string().ends_with(".tmp");
    return found;
}

} // namespace

// A writer that fails, a target that cannot be replaced: the old file stays byte for byte, and no
// temporary of its own is left; one an earlier crash left is another write's and stays.
TEST(fsWriteFileAtomically, FailuresKeepTheOldFileAndLeaveNoTemporary) {
    fsTestFolder folder;
    folder.Write("save.dat", "old");
    folder.Write("save.dat.tmp", "left by a crash");
    const auto writer = [](const fsLocator& temporary) { WriteInPieces(temporary, "new"); };
    const auto failing = [&](const fsLocator& temporary) {
        writer(temporary);
        throw fsUnknownX(temporary);
    };
    EXPECT_THROW(fsWriteFileAtomically(folder.Locator("save.dat"), failing), fsUnknownX);
    folder.MakeFolder("folder.dat/inside");
    EXPECT_THROW(fsWriteFileAtomically(folder.Locator("folder.dat"), writer), fsReadOnlyX);
    EXPECT_EQ(folder.Read("save.dat"), "old");
    EXPECT_EQ(folder.Read("save.dat.tmp"), "left by a crash");
    EXPECT_EQ(Temporaries(folder, "save.dat"), 1);
    EXPECT_EQ(Temporaries(folder, "folder.dat"), 0);
    fsWriteFileAtomically(folder.Locator("save.dat"), writer);
    EXPECT_EQ(folder.Read("save.dat"), "new");
}

// A full disc or a refused folder met while the temporary is written is told under the target's name,
// with the exception's class and the system's error kept.
TEST(fsWriteFileAtomically, FailuresOnTheTemporaryNameTheTarget) {
    fsTestFolder folder;
    folder.Write("save.dat", "old");
    const fsLocator target = folder.Locator("save.dat");
    const struct {
        int error;
        bool onOpen; // else on the write
        u32 code;
    } rows[] = {{ENOSPC, false, fsUnknownX(target).GetCode()},
                {EDQUOT, false, fsUnknownX(target).GetCode()},
                {EROFS, true, fsReadOnlyX(target).GetCode()},
                {EACCES, true, fsReadOnlyX(target).GetCode()}};
    for (const auto& row : rows) {
        std::optional<fsOpenFailures> refused;
        std::optional<fsWriteCalls> full;
        if (row.onOpen)
            refused.emplace(row.error, -1);
        else
            full.emplace(row.error);
        try {
            fsWriteFileAtomically(target,
                                  [](const fsLocator& temporary) { WriteInPieces(temporary, "new"); });
            ADD_FAILURE() << row.error;
        } catch (const fsFileFailureX& failure) {
            EXPECT_EQ(failure.GetCode(), row.code) << row.error;
            EXPECT_EQ(failure.GetLocator(), target) << row.error;
            EXPECT_EQ(failure.GetSystemError(), row.error);
        }
    }
    EXPECT_EQ(folder.Read("save.dat"), "old");
}

// Names at the folder's limit of 255 bytes save too: the temporary's name is cut to fit, on a character
// boundary, and is gone afterwards.
TEST(fsWriteFileAtomically, NamesAtTheLengthLimitSave) {
    fsTestFolder folder;
    std::string accents;
    for (int i = 0; i < 127; ++i)
        accents += "\xC3\xA9";
    for (const std::string& name : {std::string(251, 'a') + ".csa", accents + "s"}) {
        folder.Write(name, "old");
        fsWriteFileAtomically(folder.Locator(name), [](const fsLocator& t) { WriteInPieces(t, "new"); });
        EXPECT_EQ(folder.Read(name), "new");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
        std::filesystem::remove(folder.Path(name));
    }
}

// Fifty children save two versions in turn until killed at a random moment: the file is always one
// version whole, never a cut or mixed one.
TEST(fsWriteFileAtomically, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
    fsTestFolder folder;
    const std::string versions[2] = {std::string(150000, 'a'), std::string(90000, 'b')};
    folder.Write("save.dat", versions[0]);
    std::mt19937 random(17);
    int interrupted = 0;
    for (int round = 0; round < 50; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int save = 0;; ++save) {
                fsWriteFileAtomically(folder.Locator("save.dat"),
                                      [&](const fsLocator& t) { WriteInPieces(t, versions[save % 2]); });
                if (save == 0 && write(ready[1], "x", 1) != 1)
                    _exit(1);
            }
        }
        close(ready[1]);
        char byte;
        const bool saving = read(ready[0], &byte, 1) == 1; // after one whole save
        close(ready[0]);
        usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(saving && WIFSIGNALED(status)) << "the saving child failed on its own";
        const std::string now = folder.Read("save.dat");
        EXPECT_TRUE(now == versions[0] || now == versions[1]) << "round " << round << ": " << now.size();
        interrupted += Temporaries(folder, "save.dat");
    }
    EXPECT_GT(interrupted, 0); // some kills did land inside a save
}
