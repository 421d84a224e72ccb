#include "Source/Career/coCareerSave.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsOpenFailures.h"
#include "Engine/App/Fs/fsWriteCalls.h"

#include "Source/Career/coCareerTestSupport.h"
#include "Source/Settings/coErrorPackage.h"

#include <csignal>
#include <cstring>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kHeader("KSFB\x02\x00\x01\x00", 8);

// One record as the file holds it, built by hand; `n` overrides the stored name length.
std::string Record(const char* id, const std::u16string& name, i32 mission, i32 grade, i64 n = -2) {
    const i32 length = n == -2 ? static_cast<i32>(name.size()) : static_cast<i32>(n);
    std::string body(4, '\0');
    std::memcpy(body.data(), &length, 4);
    body.append(reinterpret_cast<const char*>(name.data()), name.size() * 2);
    body.append(reinterpret_cast<const char*>(&mission), 4);
    body.append(reinterpret_cast<const char*>(&grade), 4);
    const u32 size = static_cast<u32>(body.size());
    const u16 version = 0;
    return std::string(id, 4) + std::string(reinterpret_cast<const char*>(&size), 4) +
           std::string(reinterpret_cast<const char*>(&version), 2) + body;
}

class coCareerSaveTest : public coCareerFixture {
  protected:
    void Put(const std::string& bytes) { folder.Write("Saves/Ann/SaveFile.isf", bytes); }
    std::string Saved() { return folder.Read("Saves/Ann/SaveFile.isf"); }
    void Load() {
        coCareerSave::Load(u"Ann", nullptr, counts);
        coCareerSave::ShowReports();
    }
    void Write(int career, const char16_t* type, i32 mission, i32 grade) {
        coCareerSave::Write(career, u"Ann", type, mission, grade);
    }
    coMissionGrade Grade(int career, const char16_t* type, int mission) {
        const auto found = coCareerGrades()[career].find(type);
        return found == coCareerGrades()[career].end() ? -1 : found->second[mission];
    }
    size_t Types(int career) { return coCareerCompletion()[career].size(); }

    std::vector<i32> counts;
};

} // namespace

TEST_F(coCareerSaveTest, WritesAppendRecordsThatLoadBackIntoTheTables) {
    Load();
    EXPECT_EQ(counts, (std::vector<i32>{0, 0}));
    EXPECT_EQ(Types(0) + Types(1), 0u);
    EXPECT_FALSE(fsDirectoryExists(folder.Locator("Saves/Ann")));

    // The first write makes the folder and a 44-byte file; each further one appends its record.
    Write(0, u"Classic", 1, 4);
    EXPECT_EQ(Saved(), kHeader + Record("MISN", u"Classic", 1, 4));
    EXPECT_EQ(Saved().size(), 44u);
    std::string expected = Saved();
    Write(0, u"Classic", 1, 2);
    for (int mission = 0; mission < 8; ++mission)
        if (mission != 1)
            Write(0, u"Classic", mission, 1);
    for (int mission = 0; mission < 7; ++mission)
        Write(0, u"Steel", mission, 3);
    Write(0, u"Final", 1, 1);
    Write(1, u"", 4, 2);
    expected += Record("MISN", u"Classic", 1, 2);
    EXPECT_EQ(Saved().substr(0, expected.size()), expected);

    struct Target : coCareerResultsTarget {
        void SetCareerResults(const std::vector<coCareerCompletionMap>& c,
                              const std::vector<coCareerGradeMap>&, const std::vector<i32>& n) override {
            types = c[0].size() + c[1].size();
            counts = n;
        }
        size_t types = 0;
        std::vector<i32> counts;
    } menu;
    coCareerSave::Load(u"Ann", &menu, counts);
    EXPECT_EQ(Grade(0, u"Classic", 1), 4); // the best grade stays
    EXPECT_EQ(Grade(0, u"Classic", 0), 1);
    EXPECT_EQ(Grade(0, u"Steel", 7), 0);
    EXPECT_EQ(Grade(1, u"", 4), 2); // an empty name is a track type too, of career 1 only
    EXPECT_EQ(Grade(1, u"Classic", 1), -1);
    EXPECT_EQ(counts, (std::vector<i32>{2, 0})); // Classic (all eight) and Final (mission 2), not Steel
    EXPECT_EQ(menu.types, 4u);
    EXPECT_EQ(menu.counts, counts);
    EXPECT_TRUE(displayer.shown.empty());
}

// A record that cannot be used is damage like a torn one, and so is a chunk of any id but a record's (the
// game writes nothing else): the records read whole stay, the file is told once, and the next write keeps
// it as ".bad" and keeps only the whole chunks.
TEST_F(coCareerSaveTest, ARecordThatCannotBeUsedIsToldAndDroppedAtTheNextWrite) {
    std::string badGrade = Record("MISN", u"Steel", 0, 2);
    badGrade.back() = '\xBF';
    const struct {
        const char* name;
        std::string record;
    } bad[] = {
        {"negative length", Record("MISN", u"Steel", 0, 2, -1)},
        {"huge length", Record("MISN", u"Steel", 0, 2, 0x7FFFFFFF)},
        {"length past the body", Record("MISN", u"Steel", 0, 2, 6)},
        {"mission 8", Record("MISN", u"Steel", 8, 2)},
        {"mission -1", Record("MISX", u"Steel", -1, 2)},
        {"grade 99", Record("MISN", u"Steel", 0, 99)},
        {"grade 0", Record("MISN", u"Steel", 0, 0)},
        {"grade byte 0xBF", badGrade},
        {"empty body", std::string("MISN\0\0\0\0\0\0", 10)},
        {"id MISX with one bit damaged", Record("MISP", u"Steel", 0, 2)},
        {"id MISN with one bit damaged", Record("LISN", u"Steel", 0, 2)},
        {"id MISX with two bits damaged", Record("MISR", u"Steel", 0, 2)},
        {"id all different", std::string("ABCD\x02\0\0\0\0\0xy", 12)},
    };
    const std::string good = Record("MISN", u"Wood", 3, 3);
    for (const auto& c : bad) {
        std::filesystem::remove_all(folder.Path("Saves/Ann"));
        Put(kHeader + good + c.record + good);
        Load();
        Load();
        EXPECT_TRUE(Warned("skipped")) << c.name;
        EXPECT_EQ(Types(0) + Types(1), 1u) << c.name;
        EXPECT_EQ(Grade(0, u"Wood", 3), 3) << c.name;
        ASSERT_EQ(displayer.shown.size(), 1u) << c.name;
        EXPECT_NE(
            displayer.shown[0].message.find("#7 not found for package #" + std::to_string(coErrorPackage)),
            std::string::npos)
            << c.name;
        Write(0, u"Wood", 3, 4);
        EXPECT_EQ(folder.Read("Saves/Ann/SaveFile.isf.bad"), kHeader + good + c.record + good) << c.name;
        EXPECT_EQ(Saved(), kHeader + good + good + Record("MISN", u"Wood", 3, 4)) << c.name;
        Load();
        EXPECT_EQ(displayer.shown.size(), 1u) << c.name;
        displayer.shown.clear();
    }
}

// A folder where the save belongs is no new career: it is told.
TEST_F(coCareerSaveTest, AFolderOrAPipeInPlaceOfTheSaveIsTold) {
    std::filesystem::create_directories(folder.Path("Saves/Ann/SaveFile.isf"));
    Load();
    Load();
    EXPECT_EQ(Types(0) + Types(1), 0u);
    ASSERT_EQ(displayer.shown.size(), 1u);
    // "It is a folder, not a file", of the file system's texts.
    EXPECT_NE(displayer.shown[0].message.find("#12 not found for package #4"), std::string::npos);
    // A pipe is never waited on: a writer that never comes would hold the career menu.
    std::filesystem::create_directories(folder.Path("Saves/Bo"));
    ASSERT_EQ(mkfifo(folder.Path("Saves/Bo/SaveFile.isf").c_str(), 0600), 0);
    coCareerSave::Load(u"Bo", nullptr, counts);
    coCareerSave::ShowReports();
    EXPECT_EQ(Types(0) + Types(1), 0u);
    ASSERT_EQ(displayer.shown.size(), 2u);
    // "A file could not be read:", of the file system's texts.
    EXPECT_NE(displayer.shown[1].message.find("#13 not found for package #4"), std::string::npos)
        << displayer.shown[1].message;
}

// A torn append, an outdated version, a foreign file: what was read before the damage is kept, the file is
// reported once a run, and the next write keeps it as ".bad" and starts a good file with the kept records.
TEST_F(coCareerSaveTest, ADamagedSaveIsReportedOnceKeptAsBadAndReplaced) {
    const std::string first = Record("MISN", u"Steel", 0, 2);
    std::string torn = Record("MISN", u"Steel", 1, 4);
    std::memset(&torn[4], 0xFF, 4);
    const std::string outdated = "KSFB\x02\x01\x00\x00" + first;
    const struct {
        const char* name;
        std::string bytes;
        size_t kept;
    } cases[] = {
        {"torn", kHeader + first + torn, 1},
        {"cut inside a header", kHeader + first + torn.substr(0, 7), 1},
        {"outdated", outdated, 0},
        {"foreign", "PK\x03\x04 not a save", 0},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(folder.Path("Saves/Ann"));
        Put(c.bytes);
        // The notice waits for the menu's screen to be up.
        coCareerSave::Load(u"Ann", nullptr, counts);
        EXPECT_TRUE(displayer.shown.empty()) << c.name;
        Load();
        Load();
        EXPECT_EQ(Types(0), c.kept) << c.name;
        EXPECT_EQ(displayer.shown.size(), 1u) << c.name;
        Write(0, u"Wood", 2, 3);
        EXPECT_EQ(folder.Read("Saves/Ann/SaveFile.isf.bad"), c.bytes) << c.name;
        EXPECT_EQ(Saved(), kHeader + (c.kept ? first : "") + Record("MISN", u"Wood", 2, 3)) << c.name;
        Load();
        EXPECT_EQ(Types(0), c.kept + 1) << c.name;
        EXPECT_EQ(displayer.shown.size(), 1u) << c.name;
        displayer.shown.clear();
    }
    // An outdated file leaves the version warning.
    Put(outdated);
    Load();
    EXPECT_TRUE(Warned("You are using an old SaveFile.isf for Trackwright 'Ann' which is no longer valid"));
    // A save that cannot be opened is an empty career, reported once.
    folder.Write("Saves/Bo/SaveFile.isf", kHeader + first);
    const fsOpenFailures refused(EACCES, -1);
    coCareerSave::Load(u"Bo", nullptr, counts);
    coCareerSave::Load(u"Bo", nullptr, counts);
    coCareerSave::ShowReports();
    EXPECT_EQ(Types(0), 0u);
    EXPECT_EQ(displayer.shown.size(), 2u);
}

TEST_F(coCareerSaveTest, EveryTruncationLoadsTheRecordsThatAreWhole) {
    const std::string first = kHeader + Record("MISN", u"Steel", 0, 2);
    const std::string whole = first + Record("MISX", u"Wood", 7, 4);
    for (size_t length = 0; length <= whole.size(); ++length) {
        Put(whole.substr(0, length));
        Load();
        const size_t records = length >= whole.size() ? 2 : length >= first.size() ? 1 : 0;
        EXPECT_EQ(Types(0) + Types(1), records) << length;
    }
}

TEST_F(coCareerSaveTest, AFailedWriteLeavesTheOldFile) {
    Write(0, u"Steel", 0, 2);
    const std::string before = Saved();
    {
        const fsWriteCalls failing(EIO);
        EXPECT_ANY_THROW(Write(0, u"Steel", 1, 2));
    }
    EXPECT_EQ(Saved(), before);
    EXPECT_FALSE(fsFileExists(folder.Locator("Saves/Ann/SaveFile.isf.tmp")));
}

// Fifty children append records until killed at a random moment: the save is always a whole file of
// whole records.
TEST_F(coCareerSaveTest, AKilledWriteLeavesTheOldOrTheNewFileWhole) {
    const std::string record = Record("MISN", u"Steel", 3, 4);
    std::mt19937 random(23);
    for (int round = 0; round < 50; ++round) {
        std::filesystem::remove_all(folder.Path("Saves/Ann"));
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int write = 0;; ++write) {
                Write(0, u"Steel", 3, 4);
                if (write == 0 && ::write(ready[1], "x", 1) != 1)
                    _exit(1);
            }
        }
        close(ready[1]);
        char byte;
        const bool writing = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(writing && WIFSIGNALED(status)) << "the writing child failed on its own";
        const std::string now = Saved();
        const size_t records = (now.size() - 8) / record.size();
        std::string expected = kHeader;
        for (size_t i = 0; i < records; ++i)
            expected += record;
        EXPECT_TRUE(records >= 1 && now == expected) << "round " << round << ": " << now.size();
    }
}
