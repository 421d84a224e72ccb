#include "Engine/Platform/Os/plAtomicFile.h"

#include "Engine/Platform/Os/plTestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// One save in its three steps: make the temporary, write the bytes, commit.
struct Writer {
    std::string path;
    std::string bytes;
    std::unique_ptr<plAtomicFile> file;
    int step = 0;

    void Step() {
        if (step == 0)
            file = std::make_unique<plAtomicFile>(path);
        else if (step == 1)
            ASSERT_EQ(write(file->GetDescriptor(), bytes.data(), bytes.size()), ssize_t(bytes.size()));
        else
            EXPECT_EQ(file->Commit(), 0);
        ++step;
    }
};

pid_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

} // namespace

// Two games saving one file: in every order of their steps the file ends as one writer's whole bytes, and
// no temporary is left.
TEST(plAtomicFileTest, TwoWritersOfOneFileNeverMixTheirBytes) {
    plTestFolder folder;
    const std::string path = folder.Path("E2E Oval.csa");
    // Each order of the six steps: true is a step of the first writer.
    std::vector<bool> order = {false, false, false, true, true, true};
    do {
        folder.Write("E2E Oval.csa", "old");
        Writer first{path, std::string(5000, 'a'), {}, 0}, second{path, std::string(3000, 'b'), {}, 0};
        for (const bool isFirst : order)
            (isFirst ? first : second).Step();
        const std::string kept = folder.Read("E2E Oval.csa");
        EXPECT_TRUE(kept == first.bytes || kept == second.bytes);
        size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            ++entries;
        EXPECT_EQ(entries, 1u);
    } while (std::next_permutation(order.begin(), order.end()));
}

// Only a temporary whose writer has stopped is stale; a running writer's (this process's) is not.
TEST(plAtomicFileTest, OnlyAStoppedWritersTemporaryIsStale) {
    const std::string mine = std::to_string(getpid());
    const std::string ended = std::to_string(EndedProcess());
    const struct {
        std::string name;
        std::optional<std::string> target;
    } rows[] = {
        {"Oval.csa.tmp", "Oval.csa"},
        {"Oval.csa." + ended + "-0.tmp", "Oval.csa"},
        {"Oval.csa." + mine + "-7.tmp", std::nullopt},
        {"Oval.csa", std::nullopt},
        {"notes.tmp", "notes"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(plAtomicFile::StaleTargetOf(row.name), row.target) << row.name;
    plTestFolder folder;
    plAtomicFile file(folder.Path("Oval.csa"));
    const std::string temporary = file.GetTemporaryPath();
    EXPECT_EQ(plAtomicFile::StaleTargetOf(temporary.substr(temporary.rfind('/') + 1)), std::nullopt);
}
