#include "Engine/App/App/appIni.h"
#include "appStartupTestServices.h"

using appIniTest = appStartupTestServices;

namespace {
const std::string kFailure = "***FIND STRING FAILURE***";
}

TEST_F(appIniTest, ValuesAreTrimmedUnquotedAndFoundIgnoringCase) {
    folder.Write("game.ini", "\xEF\xBB\xBF; settings\r\n"
                             "[Paths]\r\n"
                             "  Install =  \"/opt/My Game\"  \r\n"
                             "Label='LOOPVANE'\r\n"
                             "Plain = two words \r\n"
                             "Inner=a \"b\" c\r\n"
                             "Install=/second/one/loses\r\n"
                             "\r\n"
                             "[ OTHER ]\r\n"
                             "Label=other\r\n");
    std::string out;
    EXPECT_TRUE(appIniReadString("game.ini", "paths", "INSTALL", out));
    EXPECT_EQ(out, "/opt/My Game");
    EXPECT_TRUE(appIniReadString("game.ini", "Paths", "label", out));
    EXPECT_EQ(out, "LOOPVANE");
    EXPECT_TRUE(appIniReadString("game.ini", "Paths", "Plain", out));
    EXPECT_EQ(out, "two words");
    EXPECT_TRUE(appIniReadString("game.ini", "Paths", "Inner", out));
    EXPECT_EQ(out, "a \"b\" c");
    EXPECT_TRUE(appIniReadString("game.ini", "other", "Label", out));
    EXPECT_EQ(out, "other");
    // An absolute name is not taken from the program's folder.
    EXPECT_TRUE(appIniReadString(folder.Path("game.ini"), "Paths", "Label", out));
    EXPECT_EQ(out, "LOOPVANE");
}

TEST_F(appIniTest, MissingFileSectionOrKeyGivesFalseAndTheFailureText) {
    folder.Write("game.ini", "[Paths]\nInstall=/opt\n; Label=commented\n");
    std::string out = "before";
    EXPECT_FALSE(appIniReadString("missing.ini", "Paths", "Install", out));
    EXPECT_EQ(out, kFailure);
    out.clear();
    EXPECT_FALSE(appIniReadString("game.ini", "Other", "Install", out));
    EXPECT_EQ(out, kFailure);
    EXPECT_FALSE(appIniReadString("game.ini", "Paths", "Label", out));
    EXPECT_FALSE(appIniReadString("game.ini", "Paths", "Inst", out));
    EXPECT_FALSE(appIniReadString("", "Paths", "Install", out));
}

TEST_F(appIniTest, LongValuesAreCutToTheBuffer) {
    folder.Write("long.ini", "[A]\nB=" + std::string(2000, 'v') + "\n");
    std::string out;
    EXPECT_TRUE(appIniReadString("long.ini", "A", "B", out));
    EXPECT_EQ(out, std::string(1023, 'v'));
}
