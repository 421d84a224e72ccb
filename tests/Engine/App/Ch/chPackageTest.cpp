#include "Engine/App/Ch/chPackage.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Env/envEnvironment.h"

#include <gtest/gtest.h>

TEST(chPackage, StartsItsPackagesOnceAndRegistersItsErrorTexts) {
    const dbgLogCapture quiet;
    gfErrorHandler::Init(nullptr);
    chInit();
    chInit();
    EXPECT_EQ(chGetInitCount(), 2u);
    EXPECT_EQ(envGetInitCount(), 2u); // its own start and the dbg package's
    EXPECT_EQ(dbgGetInitCount(), 1u);
    ASSERT_NE(gfErrorHandler::GetPackageFile(chErrorPackage), nullptr);
    EXPECT_EQ(*gfErrorHandler::GetPackageFile(chErrorPackage), envString("chErrors.tsf"));
    chShutdown();
    EXPECT_EQ(dbgGetInitCount(), 1u);
    chShutdown();
    EXPECT_EQ(chGetInitCount(), 0u);
    EXPECT_EQ(dbgGetInitCount(), 0u);
    EXPECT_EQ(envGetInitCount(), 0u);
    gfErrorHandler::Shutdown();
}
