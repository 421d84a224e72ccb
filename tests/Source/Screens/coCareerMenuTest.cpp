#include "Source/Screens/coCareerMenu.h"
#include "Source/Career/coMissionFile.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Screens/coScreenScript.h"
#include "coScreenTestKit.h"

namespace {

// The career menu with its objectives made by the test: `hidden` proximity objectives and one statistic
// objective, or the reader's failure for a mission named "Mission4.cmi".
struct coTestCareerMenu : coCareerMenu {
    void ReadObjectives(const fsLocator& file,
                        std::vector<std::unique_ptr<coMissionObjective>>& out) override {
        ++reads;
        if (file.GetLastComponent() == envString("Mission4.cmi"))
            throw fsFileDoesntExistX(file);
        const gfTextSet texts(coScreenTextSet("uiop.tsf"), 32, true);
        for (int i = 0; i < hidden; ++i)
            out.push_back(std::make_unique<coPropProximityObjective>(nullptr, 1.0f, texts));
        out.push_back(std::make_unique<coStatObjective>(0, true, 10.0f, texts));
    }
    int hidden = 0;
    int reads = 0;
};

struct coCareerMenuTest : coScreenTest {
    // Career 1's results for "Classic": the missions done and their grades.
    static void SetResults(coCareerMenu& menu, u32 done, std::array<coMissionGrade, 8> grades = {},
                           std::vector<i32> counts = {0, 0}) {
        std::vector<coCareerCompletionMap> completion(2);
        std::vector<coCareerGradeMap> gradeMaps(2);
        completion[1][envString("Classic")] = done;
        gradeMaps[1][envString("Classic")] = grades;
        menu.SetCareerResults(completion, gradeMaps, counts);
    }
    static guiRadioGroup* Missions(coCareerMenu& menu) {
        return dynamic_cast<guiRadioGroup*>(
            dynamic_cast<guiContainer*>(menu.FindChild("Vantorex1"))->FindChild("Classic"));
    }
    // 'o' an open mission, '-' a closed one, capitals when its "Text" shows.
    static std::string Openings(coCareerMenu& menu) {
        std::string marks;
        guiRadioGroup* group = Missions(menu);
        for (int n = 1; n <= 8; ++n) {
            const guiWindow* button = group->FindChild(("Mission" + std::to_string(n) + ".cmi").c_str());
            const bool shown = dynamic_cast<const guiContainer*>(button)->FindChild("Text")->IsVisible();
            marks += button->IsEnabled() ? (shown ? 'O' : 'o') : '-';
        }
        return marks;
    }
    // The player's pick of a mission, seen at the next frame.
    static void Pick(coCareerMenu& menu, int number) {
        dynamic_cast<guiCheckbox*>(
            Missions(menu)->FindChild(("Mission" + std::to_string(number) + ".cmi").c_str()))
            ->SetChecked(true);
        menu.Think();
    }
    static std::string TextOf(coCareerMenu& menu, const char* name) {
        return envStringToNarrow(dynamic_cast<guiText*>(menu.FindChild(name))->GetText(0));
    }
};

TEST_F(coCareerMenuTest, MissionsOpenByTheResults) {
    const std::tuple<u32, const char*, const char*> cases[] = {{0b0, "Mission1.cmi", "ooo-----"},
                                                               {0b11, "Mission3.cmi", "OOo-----"},
                                                               {0b111, "Mission4.cmi", "OOOo----"},
                                                               {0b1011, "Mission3.cmi", "OOoOo---"},
                                                               {0b11111111, "Mission8.cmi", "OOOOOOOO"}};
    for (const auto& [done, selected, openings] : cases) {
        coTestCareerMenu menu;
        SetResults(menu, done);
        menu.Think();
        EXPECT_EQ(menu.GetSelectedTrackType(), "Classic");
        EXPECT_EQ(menu.GetSelectedMission(), selected) << done;
        EXPECT_EQ(Openings(menu), openings) << done;
    }
    // Back from a launch, the launched mission stays chosen.
    coTestCareerMenu menu;
    SetResults(menu, 0b11);
    menu.SetCareerPage(1, "Classic", "Mission2.cmi");
    menu.Think();
    EXPECT_EQ(menu.GetSelectedMission(), "Mission2.cmi");
}

TEST_F(coCareerMenuTest, ResultsMedalsRankingAndGrade) {
    coTestCareerMenu menu;
    menu.SetTrackwright(envString("Ann"));
    EXPECT_EQ(TextOf(menu, "Trackwright Ranking"), "");
    SetResults(menu, 0b11, {4, 7, 0, 0, 0, 0, 0, 0}, {3, 7});
    menu.hidden = 2;
    menu.Think(); // selects mission 3, grade 0
    EXPECT_TRUE(menu.FindChild("InComplete")->IsVisible());
    EXPECT_EQ(TextOf(menu, "Trackwright Ranking"), " - Novice");
    auto* vantorex = dynamic_cast<guiContainer*>(menu.FindChild("Vantorex1"));
    EXPECT_EQ(envStringToNarrow(dynamic_cast<guiText*>(vantorex->FindChild("NumGold"))->GetText(0)), "1");
    // Career 0 has three track types complete: its final is offered.
    auto* coaster = dynamic_cast<guiContainer*>(menu.FindChild("Coaster"));
    auto* finalType = dynamic_cast<guiContainer*>(coaster->FindChild("TrackType"))->FindChild("Final");
    EXPECT_TRUE(finalType->IsEnabled() && finalType->IsVisible());
    const coStatObjective statistic(0, true, 10.0f, gfTextSet(coScreenTextSet("uiop.tsf"), 32, true));
    EXPECT_EQ(TextOf(menu, "Objectives"), "*" + envStringToNarrow(statistic.GetDescription()) +
                                              "\n*2 more objectives are shown when you start\n");
    EXPECT_FALSE(menu.FindChild("Start Again")->IsEnabled());
    EXPECT_FALSE(menu.IsClosingMission());

    // A gold mission shows its label; a grade outside the labels shows none.
    Pick(menu, 1);
    EXPECT_TRUE(menu.FindChild("Gold")->IsVisible());
    EXPECT_FALSE(menu.FindChild("InComplete")->IsVisible());
    Pick(menu, 2);
    for (const char* label : {"InComplete", "Complete", "Bronze", "Silver", "Gold"})
        EXPECT_FALSE(menu.FindChild(label)->IsVisible()) << label;

    // The other career: titles swap.
    ClickOn(menu, "Increase");
    EXPECT_EQ(menu.GetCareerIndex(), 0);
    EXPECT_TRUE(menu.FindChild("Coaster Title")->IsVisible());
    EXPECT_FALSE(menu.FindChild("Vantorex1 Title")->IsVisible());
    EXPECT_EQ(TextOf(menu, "Trackwright Ranking"), " - Expert");
}

// "Final" opens once three track types of a career are complete: each page offers three, each with its
// eight missions.
TEST_F(coCareerMenuTest, EachCareerOffersThreeTrackTypesBeforeItsFinal) {
    coTestCareerMenu menu;
    for (const char* name : {"Coaster", "Vantorex1"}) {
        auto* page = dynamic_cast<guiContainer*>(menu.FindChild(name));
        auto* types = dynamic_cast<guiRadioGroup*>(page->FindChild("TrackType"));
        int offered = 0;
        for (i32 i = 0; i < types->GetChildCount(); ++i) {
            const std::string type = types->GetChild(i)->GetName();
            auto* missions = dynamic_cast<guiRadioGroup*>(page->FindChild(type.c_str()));
            ASSERT_NE(missions, nullptr) << name << " " << type;
            if (type != "Final") {
                EXPECT_EQ(missions->GetButtonCount(), 8) << name << " " << type;
                ++offered;
            }
        }
        EXPECT_GE(offered, 3) << name;
    }
}

TEST_F(coCareerMenuTest, DamagedMissionsAndOddButtons) {
    coTestCareerMenu menu;
    SetResults(menu, 0b111);
    // Two buttons past the eighth take no part.
    for (const char* extra : {"Mission9.cmi", "Mission10.cmi"}) {
        auto* button = new guiCheckbox;
        Missions(menu)->AddButton(button);
        button->SetName(extra);
    }
    menu.Think(); // mission 4, whose file cannot be read
    EXPECT_EQ(menu.GetSelectedMission(), "Mission4.cmi");
    EXPECT_EQ(TextOf(menu, "Objectives"), "");
    Pick(menu, 1);
    Pick(menu, 4);
    EXPECT_EQ(menu.reads, 3);
    EXPECT_EQ(displayer.shown.size(), 1u);

    SetResults(menu, 0xFF);
    Missions(menu)->SetSelection(9);
    // A button past the eighth is no mission of the results: the done set alone decides.
    EXPECT_TRUE(menu.IsClosingMission());

    const std::pair<const char*, i32> numbers[] = {{"Mission1.cmi", 1},
                                                   {"Mission8.cmi", 8},
                                                   {"Mission9.cmi", 0},
                                                   {"MissionX.cmi", 0},
                                                   {"Mission.cmi", 0},
                                                   {"Mission1.cmix", 0},
                                                   {"", 0},
                                                   {"Mission-1.cmi", 0},
                                                   {"Mission01.cmi", 1}};
    for (const auto& [name, number] : numbers)
        EXPECT_EQ(coMissionNumber(name), number) << name;
}

} // namespace
