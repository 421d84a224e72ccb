#include "Content/coBuiltTree.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"
#include "Engine/Graphics/G3d/g3dPackage.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

// Every engine error package and the file it registers.
const std::map<u32, const char*> kEnginePackages = {
    {1, "envErrors.tsf"},  {2, "dbgErrors.tsf"},  {3, "itErrors.tsf"},   {4, "fsErrors.tsf"},
    {5, "appErrors.tsf"},  {6, "inErrors.tsf"},   {8, "chErrors.tsf"},   {9, "anErrors.tsf"},
    {10, "g2dErrors.tsf"}, {11, "g3dErrors.tsf"}, {12, "ScErrors.tsf"},  {14, "snErrors.tsf"},
    {17, "MaErrors.tsf"},  {18, "GeoErrors.tsf"}, {19, "guiErrors.tsf"}, {20, "gprErrors.tsf"},
    {23, "viErrors.tsf"}};

// The numbers the engine reports: its exception classes' numbers, the removed-disc question (fs 9) and the
// refused reads (fs 11, 12, 13), with the codes of the other subsystems' classes (sound, 2D screen,
// 3D core).
const std::map<u32, std::vector<u32>> kReportedNumbers = {
    {1, {1, 2}},  {4, {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
    {8, {1}},     {10, {2, 3, 5, 6}},
    {11, {3, 4}}, {14, {2, 3, 5, 6, 7, 8}}};

fsLocator ErrorFile(u32 package) {
    fsLocator file = coBuiltTreeLocator("Errors/Eng");
    file.AppendComponent(kEnginePackages.at(package));
    return file;
}

} // namespace

TEST(ErrorTexts, EveryEnginePackageHasItsSetWithEveryReportedNumber) {
    for (const auto& [package, name] : kEnginePackages) {
        gfTextSet set(ErrorFile(package), 32, true);
        EXPECT_EQ(set.GetSetNumber(), 32u) << name;
        const auto numbers = kReportedNumbers.find(package);
        const size_t expected = numbers == kReportedNumbers.end() ? 0 : numbers->second.size();
        EXPECT_EQ(set.GetTexts().size(), expected) << name;
        if (numbers == kReportedNumbers.end())
            continue;
        for (u32 number : numbers->second)
            EXPECT_GT(set.GetText(number).GetLength(), 10u) << name << " " << number;
    }
}

TEST(ErrorTexts, ExceptionCodesLeadToTheirTexts) {
    const std::vector<u32> codes = {envExceptionX().GetCode(),
                                    envInitX("x").GetCode(),
                                    fsDirectoryDoesntExistX(fsLocator()).GetCode(),
                                    fsDirectoryNotEmptyX(fsLocator()).GetCode(),
                                    fsFileDoesntExistX(fsLocator()).GetCode(),
                                    fsFileExistsX(fsLocator()).GetCode(),
                                    fsFileInUseX(fsLocator()).GetCode(),
                                    fsInvalidLocatorX(fsLocator()).GetCode(),
                                    fsReadOnlyX(fsLocator()).GetCode(),
                                    fsUnknownX(fsLocator()).GetCode(),
                                    chInvalidChunkX().GetCode(),
                                    g2dScreenInitX().GetCode(),
                                    g2dUnknownFontX("Arial").GetCode(),
                                    g2dGeneralX().GetCode(),
                                    g2dUnknownImageFileTypeX().GetCode(),
                                    g3dUnknownImageFileTypeX().GetCode(),
                                    g3dNo3DHardwareX().GetCode()};
    for (u32 code : codes) {
        gfTextSet set(ErrorFile(envErrorCodePackage(code)), 32, true);
        EXPECT_TRUE(set.HasText(envErrorCodeNumber(code))) << std::hex << code;
    }
}

TEST(ErrorTexts, ReportFindsTheBuiltTextsUnderARoot) {
    // As the game does: the error folder is "Errors/Eng" under the program's data root.
    fsResetRootTable();
    fsLocator data;
    fsLocatorFromNativePath(LV_DATA_DIR, data);
    fsAddRootDirectory(6, data);
    fsLocator folder(6);
    folder.AppendComponent("Errors");
    folder.AppendComponent("Eng");
    gfErrorHandler::Init(&folder);
    gfRecordingDisplayer displayer;
    gfErrorHandler::SetDisplayer(&displayer);
    gfErrorHandler::RegisterPackage(8, "chErrors.tsf");

    gfErrorHandler::Report(gfDisplayNotice, 4, 4, "/somewhere/track.dat");
    gfErrorHandler::Report(gfDisplayNotice, 8, 1, nullptr);
    gfErrorHandler::Report(gfDisplayNotice, 4, 2, nullptr);
    gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
    gfErrorHandler::Shutdown();
    fsResetRootTable();

    ASSERT_EQ(displayer.shown.size(), 3u);
    EXPECT_EQ(displayer.shown[0].message, "A file could not be found. Reinstalling the game may restore it.\n"
                                          "/somewhere/track.dat");
    EXPECT_EQ(displayer.shown[1].message.rfind("A data file is damaged", 0), 0u);
    EXPECT_EQ(displayer.shown[2].message,
              "ErrorCode #2 not found for package #4, try getting the latest engine error codes.");
}

TEST(ErrorTexts, AFailedScreenStartIsReportedWithTheTextTheStartUpsRegistered) {
    fsResetRootTable();
    fsLocator folder = coBuiltTreeLocator("Errors/Eng");
    gfErrorHandler::Init(&folder);
    gfRecordingDisplayer displayer;
    gfErrorHandler::SetDisplayer(&displayer);
    plTestTimeSource time;
    plFakeD3d d3d;
    plInstallServices({.time = &time, .d3d = &d3d});
    // A start on a working device registers the packages' texts; then the device goes away.
    g3dInitialize();
    g3dShutdown();
    d3d.SetAvailable(false);
    try {
        g3dInitialize();
        ADD_FAILURE() << "started without a device";
    } catch (const envExceptionX& error) {
        gfErrorHandler::Report(gfDisplayNotice, envErrorCodePackage(error.GetCode()),
                               envErrorCodeNumber(error.GetCode()), nullptr);
    }
    plInstallServices({});
    gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
    gfErrorHandler::Shutdown();

    ASSERT_EQ(displayer.shown.size(), 1u);
    gfTextSet set(ErrorFile(10), 32, true);
    EXPECT_EQ(displayer.shown[0].message, envStringToNarrow(set.GetText(2)));
}
