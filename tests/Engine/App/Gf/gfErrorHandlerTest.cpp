#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsOpenFailures.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Engine/Platform/plServices.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace {

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
    }
    // An error text set written with the engine's own writer.
    void WriteTexts(const std::string& name, std::initializer_list<std::pair<u32, const char*>> texts) {
        gfTextSet set(m_folder.Write(name, ""), 32, false);
        for (const auto& [id, text] : texts)
            set.SetText(id, envString(text));
        set.Save();
    }

    fsTestFolder m_folder;
    gfRecordingDisplayer m_displayer;
};

} // namespace

// Found, entry missing, set missing; the answer is the displayer's; reports through the env hook too.
TEST_F(gfErrorHandlerTest, TheThreeMessages) {
    WriteTexts("fsErrors.tsf", {{4, "A file could not be found:\n"}});
    m_displayer.answer = gfAnswerCancel;
    EXPECT_EQ(gfErrorHandler::Report(gfDisplayQuestion, 4, 4, "/data/x.bin"), gfAnswerCancel);
    gfErrorHandler::Report(gfDisplayNotice, 4, 7, "/data/x.bin");
    envReportError(gfDisplayNotice, 1, 9, "extra");
    ASSERT_EQ(m_displayer.shown.size(), 3u);
    EXPECT_EQ(m_displayer.shown[0].type, gfDisplayQuestion);
    EXPECT_EQ(m_displayer.shown[0].message, "A file could not be found:\n/data/x.bin");
    EXPECT_EQ(m_displayer.shown[1].message,
              "ErrorCode #7 not found for package #4, try getting the latest engine error codes.");
    EXPECT_EQ(m_displayer.shown[2].type, gfDisplayNotice);
    EXPECT_EQ(m_displayer.shown[2].message,
              "ErrorCode #9 not found for package #1 because the .tsf file for it was not found");
}

TEST_F(gfErrorHandlerTest, RegistryAndUnregisteredPackages) {
    const std::pair<u32, const char*> standard[] = {
        {1, "envErrors.tsf"}, {2, "dbgErrors.tsf"}, {3, "itErrors.tsf"},  {4, "fsErrors.tsf"},
        {6, "inErrors.tsf"},  {17, "MaErrors.tsf"}, {18, "GeoErrors.tsf"}};
    for (const auto& [package, file] : standard)
        EXPECT_EQ(*gfErrorHandler::GetPackageFile(package), envString(file)) << package;
    EXPECT_EQ(gfErrorHandler::GetPackageFile(8), nullptr);
    gfErrorHandler::RegisterPackage(8, "old.tsf");
    gfErrorHandler::RegisterPackage(8, "chErrors.tsf");
    EXPECT_EQ(*gfErrorHandler::GetPackageFile(8), envString("chErrors.tsf"));

    // A package that never registered opens no file: the folder itself is not taken for a text set.
    gfErrorHandler::Report(gfDisplayNotice, 50, 2, nullptr);
    EXPECT_EQ(m_displayer.shown.at(0).message,
              "ErrorCode #2 not found for package #50 because the .tsf file for it was not found");
    gfErrorHandler::Shutdown();
    EXPECT_EQ(gfErrorHandler::GetPackageFile(4), nullptr);
}

// Without a displayer the text is logged; the extra text is never taken for a format.
TEST_F(gfErrorHandlerTest, WithoutADisplayerTheTextIsLogged) {
    dbgLogCapture log;
    WriteTexts("envErrors.tsf", {{2, "Cannot start: "}});
    gfErrorHandler::SetDisplayer(nullptr);
    EXPECT_EQ(gfErrorHandler::Report(gfDisplayNotice, 1, 2, "100%s %n"), gfAnswerAbort);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], "gfErrorHandler(130): **Warning** Cannot start: 100%s %n\r\n");
}

// Before the game's own display is up, a report shows in the platform's box (as well as on stderr), with the
// buttons of its display type, and the button pressed is the answer; without a box nobody answers.
TEST_F(gfErrorHandlerTest, TheDefaultDisplayerShowsThePlatformBox) {
    WriteTexts("envErrors.tsf", {{2, "Cannot start: "}});
    gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
    EXPECT_EQ(gfErrorHandler::Report(gfDisplayNotice, 1, 2, "x"), gfAnswerAbort);
    const struct {
        u32 type;
        i32 pressed;
        u32 box;
        u32 answer;
    } cases[] = {
        {gfDisplayNotice, plId::Ok, plMb::Ok | plMb::IconError, gfAnswerOK},
        {gfDisplayQuestion, plId::Cancel, plMb::OkCancel | plMb::IconQuestion, gfAnswerCancel},
        {0, plId::Retry, plMb::AbortRetryIgnore | plMb::IconError, gfAnswerRetry},
        {gfDisplayQuestion, 0, plMb::OkCancel | plMb::IconQuestion, gfAnswerAbort},
    };
    for (const auto& c : cases) {
        plTestMessageBox box;
        box.SetAnswer(c.pressed);
        plServices services;
        services.messageBox = &box;
        plInstallServices(services);
        const u32 answer = gfErrorHandler::Report(c.type, 1, 2, "/data/uisp.gsf");
        plInstallServices({});
        EXPECT_EQ(answer, c.answer) << c.type;
        ASSERT_EQ(box.GetShown().size(), 1u);
        EXPECT_EQ(box.GetShown()[0].text, u"Cannot start: /data/uisp.gsf");
        EXPECT_EQ(box.GetShown()[0].type, c.box);
    }
}

// A path in the extra text is UTF-8 and reads in its own letters in the message, the platform's box, on
// stderr and in the log; each byte that is not UTF-8 shows as the replacement mark.
TEST_F(gfErrorHandlerTest, APathReadsInItsOwnLettersWhereverItIsTold) {
    WriteTexts("envErrors.tsf", {{2, "Cannot start: "}});
    const struct {
        const char* path;
        std::u16string shown;
    } cases[] = {
        {"/data/x.bin", u"/data/x.bin"},
        {"/home/j\xC3\xB3zef/\xC3\x86r\xC3\xB8", u"/home/j\u00F3zef/\u00C6r\u00F8"},
        {"/home/\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B_\xC3\x86r\xC3\xB8",
         u"/home/\u0418\u0433\u0440\u044B_\u00C6r\u00F8"},
        {"/home/\xF0\x90\x90\x80/Data", u"/home/\U00010400/Data"},
        {"/home/a\xFF\xC3/Data", u"/home/a\uFFFD\uFFFD/Data"},
    };
    for (const auto& c : cases) {
        const std::u16string message = u"Cannot start: " + c.shown;
        const std::string message8 = envUtf16ToUtf8(message);
        gfErrorHandler::Report(gfDisplayNotice, 1, 2, c.path);
        EXPECT_EQ(m_displayer.shown.back().message, message8);

        plTestMessageBox box;
        plServices services;
        services.messageBox = &box;
        plInstallServices(services);
        gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
        testing::internal::CaptureStderr();
        gfErrorHandler::Report(gfDisplayNotice, 1, 2, c.path);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: " + message8 + "\n");
        plInstallServices({});
        ASSERT_EQ(box.GetShown().size(), 1u);
        EXPECT_EQ(box.GetShown()[0].text, message);

        const dbgLogCapture log;
        gfErrorHandler::SetDisplayer(nullptr);
        gfErrorHandler::Report(gfDisplayNotice, 1, 2, c.path);
        EXPECT_EQ(log.lines.at(0), "gfErrorHandler(130): **Warning** " + message8 + "\r\n");
        gfErrorHandler::SetDisplayer(&m_displayer);
    }
}

TEST_F(gfErrorHandlerTest, ARetryQuestionDuringTheLookupDoesNotRecurse) {
    // Opening fsErrors.tsf meets a removed medium and asks, through the hook, whether to retry: that
    // nested report must not open a text set again. The user cancels; the first report still shows.
    WriteTexts("fsErrors.tsf", {{4, "not shown"}});
    const dbgLogCapture quiet;
    m_displayer.answer = gfAnswerCancel;
    {
        const fsOpenFailures gone(
            EIO, -1, [](const char* path, int) { return std::strstr(path, "Errors.tsf") != nullptr; });
        gfErrorHandler::Report(gfDisplayNotice, 4, 4, "/x");
    }
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

// A damaged error text file still lets the report reach the player, in plain words: the file and what is
// wrong with it, then the message's number and package and what it is about. Its texts are not found.
TEST_F(gfErrorHandlerTest, ADamagedErrorTextFileIsNamedInTheReport) {
    const std::string lead = "The game's words for this message cannot be read; reinstalling the game may "
                             "restore them.\n" +
                             m_folder.Path("envErrors.tsf");
    const struct {
        std::string bytes;
        const char* extra;
        std::string said;
    } cases[] = {
        {std::string("KSFB\x02\0\0\0KSTX\x20\0\0\0\0\0\0\0", 20), "/saves/a.csa",
         "\nIt is damaged.\nMessage 11 of package 1, about:\n/saves/a.csa"},
        {"", nullptr, "\nIt is cut short.\nMessage 11 of package 1."},
        {std::string("KSFB\x02\0\0\0", 8), ": (4-7)",
         "\nIt is cut short.\nMessage 11 of package 1, about:\n(4-7)"},
    };
    for (const auto& c : cases) {
        m_folder.Write("envErrors.tsf", c.bytes);
        gfErrorHandler::Report(gfDisplayNotice, 1, 11, c.extra);
        EXPECT_EQ(m_displayer.shown.back().message, lead + c.said);
        EXPECT_EQ(gfErrorHandler::FindText(1, 11), std::nullopt);
    }
    WriteTexts("envErrors.tsf", {{11, "Found. "}});
    EXPECT_EQ(gfErrorHandler::FindText(1, 11), envString("Found. "));
    EXPECT_EQ(gfErrorHandler::FindText(1, 12), std::nullopt);
    EXPECT_EQ(gfErrorHandler::FindText(4, 11), std::nullopt); // no fsErrors.tsf
}
