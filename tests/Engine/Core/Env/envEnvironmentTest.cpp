#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Env/envExceptionX.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

u32 AnswerSeven(u32, u32, u32, const char*) {
    return 7;
}

} // namespace

// Runs first in this program: nothing has started the env package yet.
TEST(envEnvironment, OSKindIsSevenBeforeStartAndSixAfter) {
    if (envGetInitCount() == 0) {
        EXPECT_EQ(envGetOSKind(), 7u);
    }
    envInit();
    envInit();
    envShutdown();
    EXPECT_EQ(envGetOSKind(), 6u);
    EXPECT_EQ(envGetInitCount(), 1u);
    envShutdown();
    EXPECT_EQ(envGetInitCount(), 0u);
}

TEST(envEnvironment, ShutdownAtZeroIsRefusedWithAWarning) {
    dbgLogCapture log;
    envShutdown();
    EXPECT_EQ(envGetInitCount(), 0u);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_TRUE(log.Holds("**Warning** env shut down more often than started"));
    envInit();
    EXPECT_EQ(envGetInitCount(), 1u);
    envShutdown();
}

TEST(dbgLog, BannersFramesTheLog) {
    dbgLogCapture log;
    dbgInit();
    dbgShutdown();
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0].rfind("Kestrune base debug log initialized at ", 0), 0u);
    EXPECT_EQ(log.lines[1].rfind("Kestrune base debug log terminating at ", 0), 0u);
    // "HH:MM:SS, MM/DD/YY" then CR LF
    EXPECT_EQ(log.lines[0].size(), std::string("Kestrune base debug log initialized at ").size() + 18 + 2);
    EXPECT_EQ(log.lines[0][log.lines[0].size() - 12], ',');
    EXPECT_EQ(envGetInitCount(), 0u);
}

TEST(dbgLog, WarningLineAndTheCutAt1023) {
    dbgLogCapture log;
    dbgWarning("file.cpp", 42, "value %d", 5);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], "file.cpp(42): **Warning** value 5\r\n");

    const std::string longText(2000, 'x');
    dbgWarning("f", 1, "%s", longText.c_str());
    EXPECT_EQ(log.lines[1], "f(1): **Warning** " + std::string(1023, 'x') + "\r\n");
}

TEST(envEnvironment, ReportHookAnswersOrZero) {
    envSetErrorReportHook(nullptr);
    EXPECT_EQ(envReportError(1, 4, 9, nullptr), 0u);
    envSetErrorReportHook(&AnswerSeven);
    EXPECT_EQ(envReportError(1, 4, 9, "x"), 7u);
    envSetErrorReportHook(nullptr);
}

TEST(envEnvironment, WideToAnsiIsUtf8AndRefusesOverlongText) {
    std::string out;
    const char16_t text[] = {u'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00, 0xD800};
    envWideToAnsi(out, text, 6);
    // A lone surrogate keeps bytes of its own, so two such names never share a path.
    EXPECT_EQ(out, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xED\xA0\x80");
    const std::u16string longText(260, u'a');
    envWideToAnsi(out, longText.data(), 259);
    EXPECT_EQ(out.size(), 259u);
    envWideToAnsi(out, longText.data(), 260);
    EXPECT_EQ(out, "");
}

TEST(envExceptionX, CodesSplitIntoPackageAndNumber) {
    EXPECT_EQ(envExceptionX().GetCode(), 0xE0110001u);
    const envInitX init("env");
    EXPECT_EQ(init.GetCode(), 0xE0110002u);
    EXPECT_EQ(init.GetText(), "env");
    EXPECT_EQ(envMakeErrorCode(4, 4), 0xE0140004u);
    EXPECT_EQ(envErrorCodePackage(0xE0140004u), 4u);
    EXPECT_EQ(envErrorCodeNumber(0xE014000Au), 10u);
}
