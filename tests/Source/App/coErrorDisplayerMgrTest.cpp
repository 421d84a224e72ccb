#include "Source/App/coErrorDisplayerMgr.h"
#include "Engine/App/App/appTestServices.h"

namespace {

struct coErrorDisplayerMgrTest : appTestServices {
    void TearDown() override {
        gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
        appTestServices::TearDown();
    }
};

TEST_F(coErrorDisplayerMgrTest, AReportDuringTheDisplayGoesToTheDefaultDisplayer) {
    coErrorDisplayerMgr::CountDefaultReports();
    std::vector<std::string> inGame;
    coErrorDisplayerMgr::Start([&inGame](u32, const envString& message) {
        inGame.push_back(envStringToNarrow(message));
        // The dialog's own frame fails: shown outside the game, not in the dialog again.
        gfErrorHandler::Report(gfDisplayNotice, 4, 4, "inner");
        return gfAnswerOK;
    });
    const u32 before = coErrorDisplayerMgr::GetReportCount();
    testing::internal::CaptureStderr();
    EXPECT_EQ(gfErrorHandler::Report(gfDisplayNotice, 4, 8, "outer"), gfAnswerOK);
    coErrorDisplayerMgr::Stop();
    gfErrorHandler::Report(gfDisplayNotice, 4, 1, "after");

    const std::string shownOutside = testing::internal::GetCapturedStderr();

    ASSERT_EQ(inGame.size(), 1u);
    EXPECT_NE(inGame[0].find("#8 "), std::string::npos);
    EXPECT_NE(shownOutside.find("#4 "), std::string::npos);
    EXPECT_NE(shownOutside.find("#1 "), std::string::npos);
    EXPECT_EQ(coErrorDisplayerMgr::GetReportCount(), before + 3);
}

} // namespace
