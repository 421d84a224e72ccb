#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Fs/private/fsPosixPAC.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace {

struct Shown {
    u32 type;
    std::string message;
};

// Records what it is asked and answers with a fixed answer.
class RecordingDisplayer : public gfErrorDisplayer {
  public:
    u32 Display(u32 type, const envString& message) override {
        shown.push_back({type, envStringToNarrow(message)});
        return answer;
    }
    std::vector<Shown> shown;
    u32 answer = gfAnswerOK;
};

// A removed medium for every error text file: the open asks whether to retry.
int MediumGone(const char* path, int flags, mode_t mode) {
    if (std::strstr(path, "Errors.tsf")) {
        errno = EIO;
        return -1;
    }
    return open(path, flags, mode);
}

class gfErrorHandlerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fsLocator directory = m_folder.Locator();
        gfErrorHandler::Init(&directory);
        gfErrorHandler::SetDisplayer(&m_displayer);
    }
    void TearDown() override {
        gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
        gfErrorHandler::Shutdown();
        fsSetOpenFunction(nullptr);
        dbgSetLogSink({});
    }
    // An error text set written with the engine's own writer.
    void WriteTexts(const std::string& name, std::initializer_list<std::pair<u32, const char*>> texts) {
        m_folder.Write(name, "");
        gfTextSet set(m_folder.Locator(name), 32, false);
        for (const auto& [id, text] : texts)
            set.SetText(id, envString(text));
        set.Save();
    }

    fsTestFolder m_folder;
    RecordingDisplayer m_displayer;
};

} // namespace

TEST_F(gfErrorHandlerTest, TheThreeMessages) {
    WriteTexts("fsErrors.tsf", {{4, "A file could not be found:\n"}});

    // Found: the entry's text followed directly by the extra text; the answer is the displayer's.
    m_displayer.answer = gfAnswerCancel;
    EXPECT_EQ(gfErrorHandler::Report(gfDisplayQuestion, 4, 4, "/data/x.bin"), gfAnswerCancel);
    ASSERT_EQ(m_displayer.shown.size(), 1u);
    EXPECT_EQ(m_displayer.shown[0].type, gfDisplayQuestion);
    EXPECT_EQ(m_displayer.shown[0].message, "A file could not be found:\n/data/x.bin");

    // The set is there but not the entry: no extra text.
    gfErrorHandler::Report(gfDisplayNotice, 4, 7, "/data/x.bin");
    EXPECT_EQ(m_displayer.shown[1].message,
              "ErrorCode #7 not found for package #4, try getting the latest engine error codes.");

    // No set: the number first, then the package.
    gfErrorHandler::Report(gfDisplayNotice, 1, 9, "extra");
    EXPECT_EQ(m_displayer.shown[2].message,
              "ErrorCode #9 not found for package #1 because the .tsf file for it was not found");
    EXPECT_EQ(m_displayer.shown[2].type, gfDisplayNotice);
}

TEST_F(gfErrorHandlerTest, RegistryAndUnregisteredPackages) {
    const char* standard[][2] = {{"1", "envErrors.tsf"}, {"2", "dbgErrors.tsf"}, {"3", "itErrors.tsf"},
                                 {"4", "fsErrors.tsf"},  {"6", "inErrors.tsf"},  {"17", "MaErrors.tsf"},
                                 {"18", "GeoErrors.tsf"}};
    for (const auto& entry : standard) {
        const envString* file = gfErrorHandler::GetPackageFile(static_cast<u32>(std::atoi(entry[0])));
        ASSERT_NE(file, nullptr) << entry[0];
        EXPECT_EQ(*file, envString(entry[1]));
    }
    EXPECT_EQ(gfErrorHandler::GetPackageFile(8), nullptr);
    gfErrorHandler::RegisterPackage(8, "old.tsf");
    gfErrorHandler::RegisterPackage(8, "chErrors.tsf");
    EXPECT_EQ(*gfErrorHandler::GetPackageFile(8), envString("chErrors.tsf"));

    // A package that never registered is entered with an empty name, and its report opens no file:
    // the folder itself is not taken for a text set.
    gfErrorHandler::Report(gfDisplayNotice, 50, 2, nullptr);
    ASSERT_NE(gfErrorHandler::GetPackageFile(50), nullptr);
    EXPECT_EQ(gfErrorHandler::GetPackageFile(50)->GetLength(), 0u);
    EXPECT_EQ(m_displayer.shown.at(0).message,
              "ErrorCode #2 not found for package #50 because the .tsf file for it was not found");

    gfErrorHandler::Shutdown();
    EXPECT_EQ(gfErrorHandler::GetPackageFile(4), nullptr);
}

TEST_F(gfErrorHandlerTest, ReportsReachTheUserThroughTheEnvHook) {
    WriteTexts("fsErrors.tsf", {{9, "The disc is gone."}});
    m_displayer.answer = gfAnswerOK;
    EXPECT_EQ(envReportError(gfDisplayQuestion, 4, 9, nullptr), gfAnswerOK);
    ASSERT_EQ(m_displayer.shown.size(), 1u);
    EXPECT_EQ(m_displayer.shown[0].message, "The disc is gone.");
}

TEST_F(gfErrorHandlerTest, WithoutADisplayerTheReportIsLoggedAsText) {
    std::vector<std::string> log;
    dbgSetLogSink([&](const std::string& line) { log.push_back(line); });
    WriteTexts("envErrors.tsf", {{2, "Cannot start: "}});
    gfErrorHandler::SetDisplayer(nullptr);
    EXPECT_EQ(gfErrorHandler::Report(gfDisplayNotice, 1, 2, "100%s %n"), gfAnswerAbort);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "gfErrorHandler(130): **Warning** Cannot start: 100%s %n\r\n");
}

TEST_F(gfErrorHandlerTest, DefaultDisplayerPrintsUpToTheFirstZeroAndAnswersAbort) {
    envString message("ab");
    message.AppendChar(0);
    message.Append(envString("cd"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(gfErrorHandler::GetDefaultDisplayer()->Display(gfDisplayNotice, message), gfAnswerAbort);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: ab\n");

    // Init installs it.
    const fsLocator directory = m_folder.Locator();
    gfErrorHandler::Init(&directory);
    testing::internal::CaptureStderr();
    EXPECT_EQ(gfErrorHandler::Report(gfDisplayQuestion, 4, 4, nullptr), gfAnswerAbort);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ErrorCode #4 not found for package #4"),
              std::string::npos);
}

TEST_F(gfErrorHandlerTest, ARetryQuestionDuringTheLookupDoesNotRecurse) {
    // Opening fsErrors.tsf meets a removed medium and asks, through the hook, whether to retry: that
    // nested report must not open a text set again. The user cancels; the first report still shows.
    WriteTexts("fsErrors.tsf", {{4, "not shown"}});
    std::vector<std::string> log;
    dbgSetLogSink([&](const std::string& line) { log.push_back(line); });
    fsSetOpenFunction(&MediumGone);
    m_displayer.answer = gfAnswerCancel;
    gfErrorHandler::Report(gfDisplayNotice, 4, 4, "/x");
    fsSetOpenFunction(nullptr);
    ASSERT_EQ(m_displayer.shown.size(), 2u);
    EXPECT_EQ(m_displayer.shown[0].type, gfDisplayQuestion);
    EXPECT_EQ(m_displayer.shown[0].message,
              "ErrorCode #9 not found for package #4 because the .tsf file for it was not found");
    EXPECT_EQ(m_displayer.shown[1].message,
              "ErrorCode #4 not found for package #4 because the .tsf file for it was not found");

    // With the medium back, the same report finds its text.
    gfErrorHandler::Report(gfDisplayNotice, 4, 4, "");
    EXPECT_EQ(m_displayer.shown.at(2).message, "not shown");
}

TEST_F(gfErrorHandlerTest, ACorruptErrorTextFileIsAnError) {
    m_folder.Write("envErrors.tsf", std::string("KSFB\x02\0\0\0KSTX\x20\0\0\0\0\0\0\0", 20));
    EXPECT_THROW(gfErrorHandler::Report(gfDisplayNotice, 1, 1, nullptr), gfInvalidTextSetFileX);
    EXPECT_TRUE(m_displayer.shown.empty());
}
