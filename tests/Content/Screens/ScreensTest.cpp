// The shipped screens: each script compiles without a warning and loads into its screen over the built
// tree; the texts and pictures the scripts and screens name exist, in exact case.
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Source/Palettes/coBackground.h"
#include "Source/Screens/coChooseCoasterDialog.h"
#include "Source/Screens/coCreditsDialog.h"
#include "Source/Screens/coMainMenu.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Screens/coScreenTestKit.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

namespace {

struct Script {
    const char* name;
    const char* textSet; // null: loaded without one
};
constexpr Script kScripts[] = {
    {"uiqd", "uimc.tsf"}, {"uibk", nullptr}, {"uimm", "uimm.tsf"}, {"uicd", nullptr}, {"uicc", "uicc.tsf"}};

std::string Source(const std::string& name) {
    std::ifstream in(std::string(LV_SOURCE_DIR) + "/Content/GUI/" + name + "/" + name + ".gst");
    return {std::istreambuf_iterator<char>(in), {}};
}

using ScreensContentTest = coScreenTest;

TEST_F(ScreensContentTest, ScriptsCompileCleanlyAndNameWhatExists) {
    fsTestFolder out;
    for (const Script& script : kScripts) {
        SCOPED_TRACE(script.name);
        const std::string text = Source(script.name);
        ASSERT_FALSE(text.empty());
        out.Write(std::string(script.name) + ".gst", text);
        log.lines.clear();
        gprParserUtil::CompileScript(out.Locator(std::string(script.name) + ".gst"),
                                     out.Locator(std::string(script.name) + ".gsf"));
        EXPECT_EQ(log.Count("Warning"), 0u);

        const std::regex number("StaticTextNum ([0-9]+)");
        for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it) {
            ASSERT_NE(script.textSet, nullptr) << "a text number without a text set";
            const gfTextSet set(fsRootedLocator(coRootText, script.textSet), 32, true);
            EXPECT_TRUE(set.HasText(static_cast<u32>(std::stoul((*it)[1])))) << (*it)[0];
        }
        const std::regex picture("ImageState \"([^\"]+)\"");
        for (std::sregex_iterator it(text.begin(), text.end(), picture), end; it != end; ++it)
            EXPECT_TRUE(std::filesystem::exists(
                DataPath("Data/GUI/" + std::string(script.name) + "/" + std::string((*it)[1]))))
                << (*it)[1];
    }
}

TEST_F(ScreensContentTest, EveryScreenLoadsWithItsPicturesAndVoices) {
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
    log.lines.clear();
    std::vector<std::unique_ptr<guiWindow>> screens;
    screens.emplace_back(new coQuestionDialog);
    screens.emplace_back(new coQuestionDialog(4));
    auto* background = new coBackground;
    screens.emplace_back(background);
    screens.emplace_back(new coMainMenu);
    screens.emplace_back(new coCreditsDialog);
    auto* choice = new coChooseCoasterDialog;
    screens.emplace_back(choice);
    for (const char* menu : {"uimm", "uilm", "uisi", "uicm", "uicc", "uicd"})
        background->SetImage(menu);
    EXPECT_EQ(log.Count("Warning"), 0u) << (log.lines.empty() ? "" : log.lines.front());
    EXPECT_EQ(choice->GetSelectedTrackType().empty(), false);
    EXPECT_EQ(choice->GetSelectedEnvironment().empty(), false);
    for (const char* voice : coMainMenu::kButtons)
        EXPECT_TRUE(std::filesystem::exists(DataPath("Data/Voice/Eng/" + std::string(voice) + ".wav")))
            << voice;
    fsResetRootTable();
    coPaths::ListRootDirectories(coRootTracks);
    coPaths::ListRootDirectories(coRootEnvironments);
}

} // namespace
