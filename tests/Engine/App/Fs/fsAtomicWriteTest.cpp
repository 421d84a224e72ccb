#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileStream.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsTestFolder.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Written in small pieces, so that a kill can land between them.
void WriteInPieces(const fsLocator& temporary, const std::string& bytes) {
    fsFileStream out(temporary, 1);
    for (size_t at = 0; at < bytes.size(); at += 4096) {
        const size_t piece = std::min<size_t>(4096, bytes.size() - at);
        out.Write(static_cast<u32>(piece), bytes.data() + at);
    }
}

} // namespace

// A writer that fails, a target that cannot be replaced, a missing folder: the old file stays byte for
// byte and nothing is left beside it, not even the temporary an earlier crash left.
TEST(fsWriteFileAtomically, FailuresKeepTheOldFileAndLeaveNoTemporary) {
    fsTestFolder folder;
    const std::string old = "old contents\n";
    folder.Write("save.dat", old);
    folder.Write("save.dat.tmp", "left by a crash");
    const auto failing = [](const fsLocator& temporary) {
        WriteInPieces(temporary, "half of the new");
        throw fsUnknownX(temporary);
    };
    EXPECT_THROW(fsWriteFileAtomically(folder.Locator("save.dat"), failing), fsUnknownX);
    EXPECT_EQ(folder.Read("save.dat"), old);

    const auto writer = [](const fsLocator& temporary) { WriteInPieces(temporary, "new"); };
    folder.MakeFolder("folder.dat/inside");
    EXPECT_THROW(fsWriteFileAtomically(folder.Locator("folder.dat"), writer), fsReadOnlyX);
    EXPECT_THROW(fsWriteFileAtomically(folder.Locator("none/x.dat"), writer), fsDirectoryDoesntExistX);
    EXPECT_THROW(fsWriteFileAtomically(fsLocator(), writer), fsInvalidLocatorX);

    fsWriteFileAtomically(folder.Locator("save.dat"), writer);
    EXPECT_EQ(folder.Read("save.dat"), "new");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.dat", "save.dat"}));
}

// Fifty children save two versions in turn and are killed at random moments: the file is always one
// version whole, never a mix or a cut one.
TEST(fsWriteFileAtomically, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
    fsTestFolder folder;
    const fsLocator target = folder.Locator("save.dat");
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
            close(ready[0]);
            for (int save = 0;; ++save) {
                fsWriteFileAtomically(target,
                                      [&](const fsLocator& t) { WriteInPieces(t, versions[save % 2]); });
                if (save == 0 && write(ready[1], "x", 1) != 1)
                    _exit(1);
            }
        }
        close(ready[1]);
        char byte;
        const bool started = read(ready[0], &byte, 1) == 1; // one save done: the loop is under way
        close(ready[0]);
        usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(started && WIFSIGNALED(status)) << "the saving child failed on its own";
        const std::string now = folder.Read("save.dat");
        EXPECT_TRUE(now == versions[0] || now == versions[1]) << "round " << round << ": " << now.size();
        interrupted += fsFileExists(folder.Locator("save.dat.tmp"));
    }
    EXPECT_GT(interrupted, 0); // some kills did land inside a save
}
