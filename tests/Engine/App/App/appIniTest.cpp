#include "Engine/App/App/appIni.h"
#include "appStartupTestServices.h"

#include <tuple>

using appIniTest = appStartupTestServices;

namespace {
const std::string kFailure = "***FIND STRING FAILURE***";
}

// Quoting, blanks around "=", CRLF, a BOM, section and key case; the first of two keys wins.
TEST_F(appIniTest, ValuesAreTrimmedUnquotedAndFoundIgnoringCase) {
    folder.Write("game.ini", "\xEF\xBB\xBF; settings\r\n"
                             "[Paths]\r\n"
                             "  Install =  \"/opt/My Game\"  \r\n"
                             "Label='LOOPVANE'\r\n"
                             "Plain = two words \r\n"
                             "Inner=a \"b\" c\r\n"
                             "; Gone=commented\r\n"
                             "Install=/second/one/loses\r\n"
                             "\r\n"
                             "[ OTHER ]\r\n"
                             "Label=other\r\n"
                             "Long=" + std::string(2000, 'v') + "\r\n");
    const std::tuple<const char*, const char*, const char*> found[] = {
        {"paths", "INSTALL", "/opt/My Game"}, {"Paths", "label", "LOOPVANE"}, {"Paths", "Plain", "two words"},
        {"Paths", "Inner", "a \"b\" c"},      {"other", "Label", "other"}};
    for (const auto& [section, key, value] : found) {
        std::string out;
        EXPECT_TRUE(appIniReadString("game.ini", section, key, out)) << key;
        EXPECT_EQ(out, value);
    }
    std::string out;
    EXPECT_TRUE(appIniReadString(folder.Path("game.ini"), "other", "Long", out)); // an absolute name
    EXPECT_EQ(out, std::string(1023, 'v'));                                        // cut to the buffer

    // A missing file, section or key gives false and the failure text.
    const std::tuple<const char*, const char*, const char*> missing[] = {
        {"missing.ini", "Paths", "Install"}, {"game.ini", "None", "Install"}, {"game.ini", "Paths", "Gone"},
        {"game.ini", "Paths", "Inst"},       {"", "Paths", "Install"}};
    for (const auto& [file, section, key] : missing) {
        out = "before";
        EXPECT_FALSE(appIniReadString(file, section, key, out)) << file << section << key;
        EXPECT_EQ(out, kFailure);
    }
}
