#include "Source/Screens/coCareerMenu.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Career/coDescriptionFormat.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Screens/coReportException.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Screens/coSelectTrackwrightMenu.h"
#include "Source/Settings/coPaths.h"

#include <algorithm>
#include <charconv>
#include <typeinfo>

namespace {

constexpr const char* kScript = "uicm";
constexpr const char* kPageNames[coCareerCount] = {"Coaster", "Vantorex1"};
constexpr const char* kTitles[coCareerCount] = {"Coaster Title", "Vantorex1 Title"};
constexpr const char* kGradeLabels[] = {"InComplete", "Complete", "Bronze", "Silver", "Gold"};
// Objectives beyond these are left out of the text.
constexpr size_t kListedObjectives = 11;
constexpr u32 kOneHiddenText = 48;
constexpr u32 kHiddenCountText = 49;

void SetText(const guiContainer& parent, const char* name, const envString& text) {
    coFindWidget<guiText>(parent, kScript, name, "Text")->SetText(text, 0);
}

void ShowAndEnable(guiWindow* window, bool on) {
    window->SetEnabled(on);
    window->SetVisible(on);
}

std::string NameOf(const guiWindow* button) {
    return button ? button->GetName() : std::string();
}

bool IsHiddenObjective(const coMissionObjective& objective) {
    return typeid(objective) == typeid(coPropProximityObjective) ||
           typeid(objective) == typeid(coPropOrderingObjective);
}

} // namespace

coCareerMenu::coCareerMenu() : m_grades(coCareerCount), m_completion(coCareerCount) {
    coLoadScreenScript(kScript, "uicm.tsf", this);
    for (i32 page = 0; page < coCareerCount; ++page)
        m_pages[page] = coFindWidget<guiContainer>(*this, kScript, kPageNames[page], "Container");
    for (const char* name : {"Decrease", "Increase", "Start Again", "Trackwright", "Trackwright Ranking",
                             "Objectives", kTitles[0], kTitles[1]})
        coFindWidget<guiWindow>(*this, kScript, name, "Window");
    for (const char* label : kGradeLabels)
        coFindWidget<guiWindow>(*this, kScript, label, "Window");
    m_trackTypes = PageGroup(m_currentPage, "TrackType");
    m_missions = PageGroup(m_currentPage, "Classic");
}

coCareerMenu::~coCareerMenu() {
    DeleteAllChildren();
}

guiRadioGroup* coCareerMenu::PageGroup(i32 page, const std::string& name) const {
    return coFindWidget<guiRadioGroup>(*m_pages[page], kScript, name.c_str(), "RadioGroup");
}

guiCheckbox* coCareerMenu::MissionButton(const guiRadioGroup& group, i32 number) {
    return dynamic_cast<guiCheckbox*>(group.FindChild(("Mission" + std::to_string(number) + ".cmi").c_str()));
}

std::string coCareerMenu::GetSelectedTrackType() const {
    return NameOf(m_trackTypes->GetSelectedButton());
}

std::string coCareerMenu::GetSelectedMission() const {
    return NameOf(m_missions->GetSelectedButton());
}

void coCareerMenu::SetTrackwright(const envString& profile) {
    m_profile = profile;
    SetText(*this, "Trackwright", profile);
    envString ranking;
    if (!m_counts.empty()) {
        const i32 completed =
            static_cast<size_t>(m_currentPage) < m_counts.size() ? m_counts[m_currentPage] : 0;
        const gfTextSet texts(coScreenTextSet("uisi.tsf"), 32, true);
        ranking = envString(" - ");
        ranking.Append(texts.GetText(coRankingTextId(completed)));
    }
    SetText(*this, "Trackwright Ranking", ranking);
}

void coCareerMenu::ShowPage(i32 page, bool shown) {
    ShowAndEnable(m_pages[page], shown);
}

void coCareerMenu::SetCareerPage(i32 page, const std::string& trackType, const std::string& mission) {
    if (page < 0 || page >= coCareerCount)
        return;
    ShowPage(m_currentPage, false);
    m_currentPage = page;
    ShowPage(page, true);
    SetTrackwright(m_profile);
    for (i32 p = 0; p < coCareerCount; ++p)
        FindChild(kTitles[p])->SetVisible(p == page);
    m_trackTypes = PageGroup(page, "TrackType");
    m_trackTypes->SelectByName(trackType);
    if (auto* missions = dynamic_cast<guiRadioGroup*>(m_pages[page]->FindChild(trackType.c_str()))) {
        missions->SelectByName(mission);
        m_keepMission = true;
    }
}

void coCareerMenu::SetCareerResults(const std::vector<coCareerCompletionMap>& completion,
                                    const std::vector<coCareerGradeMap>& grades,
                                    const std::vector<i32>& counts) {
    m_completion = completion;
    m_grades = grades;
    m_counts = counts;
    m_completion.resize(coCareerCount);
    m_grades.resize(coCareerCount);
    for (i32 page = 0; page < coCareerCount; ++page) {
        i32 medals[3] = {};
        for (const auto& [trackType, missionGrades] : m_grades[page])
            for (const coMissionGrade grade : missionGrades)
                if (grade >= 2 && grade <= 4)
                    ++medals[grade - 2];
        const char* fields[] = {"NumBronze", "NumSilver", "NumGold"};
        for (int m = 0; m < 3; ++m)
            SetText(*m_pages[page], fields[m], envString(std::to_string(medals[m]).c_str()));
        if (static_cast<size_t>(page) < m_counts.size() && m_counts[page] >= 3)
            if (guiWindow* finalType = PageGroup(page, "TrackType")->FindChild("Final"))
                ShowAndEnable(finalType, true);
    }
    SetTrackwright(m_profile);
}

void coCareerMenu::Think() {
    m_previousTrackType = m_trackTypes->GetSelectedButton();
    m_previousMission = m_missions->GetSelectedButton();
    guiContainer::Think();
    Update();
}

void coCareerMenu::Update() {
    if (FindChild("Decrease")->GetState() == guiStateReleased ||
        FindChild("Increase")->GetState() == guiStateReleased)
        SwitchCareer();
    if (m_firstUpdate || m_trackTypes->GetSelectedButton() != m_previousTrackType)
        RefreshTrackType();
    if (m_firstUpdate || m_missions->GetSelectedButton() != m_previousMission)
        RefreshMission();
}

void coCareerMenu::SwitchCareer() {
    ShowPage(m_currentPage, false);
    m_currentPage = m_currentPage == 0 ? 1 : 0;
    SetTrackwright(m_profile);
    ShowPage(m_currentPage, true);
    for (const char* title : kTitles)
        FindChild(title)->SetVisible(!FindChild(title)->IsVisible());
    m_trackTypes = PageGroup(m_currentPage, "TrackType");
}

std::bitset<coCareerMissionCount> coCareerMenu::CompletedMissions(const envString& trackType) const {
    const coCareerCompletionMap& map = m_completion[m_currentPage];
    const auto found = map.find(trackType);
    return found == map.end() ? std::bitset<coCareerMissionCount>() : found->second;
}

void coCareerMenu::RefreshTrackType() {
    m_previousTrackType = m_trackTypes->GetSelectedButton();
    const std::string trackType = NameOf(m_previousTrackType);
    auto* missions = dynamic_cast<guiRadioGroup*>(m_pages[m_currentPage]->FindChild(trackType.c_str()));
    if (!missions)
        return;
    ShowAndEnable(m_missions, false);
    m_missions = missions;
    ShowAndEnable(m_missions, true);
    m_previousMission = nullptr;

    const std::bitset<coCareerMissionCount> done = CompletedMissions(envString(trackType.c_str()));
    bool selectFirstOpen = !m_keepMission;
    m_keepMission = false;
    const i32 count = std::min(m_missions->GetButtonCount(), kMaxMissions);
    for (i32 i = 0; i < count; ++i) {
        guiCheckbox* button = MissionButton(*m_missions, i + 1);
        if (!button)
            continue;
        guiWindow* text = button->FindChild("Text");
        if (selectFirstOpen && !done[i]) {
            m_missions->SetSelection(i);
            selectFirstOpen = false;
        }
        button->SetEnabled(done[i] || i < 3 || (done[0] && done[1] && done[i - 1]));
        if (text)
            text->SetVisible(done[i]);
    }
    if (selectFirstOpen && count > 0)
        m_missions->SetSelection(count - 1);
}

void coCareerMenu::RefreshMission() {
    m_firstUpdate = false;
    m_previousMission = m_missions->GetSelectedButton();
    const std::string trackType = NameOf(m_previousTrackType);
    const std::string mission = NameOf(m_previousMission);

    fsLocator attempt = fsGetRootDirectory(coRootSaves, 0);
    bool saved = true;
    for (const envString& part : {m_profile, envString(trackType.c_str())}) {
        attempt.AppendComponent(part);
        saved = saved && fsDirectoryExists(attempt);
    }
    attempt.AppendComponent(envString(mission.c_str()));
    FindChild("Start Again")->SetEnabled(saved && fsFileExists(attempt));

    SetText(*this, "Objectives", ObjectivesText(trackType, mission));

    if (m_gradeLabel)
        m_gradeLabel->SetVisible(false);
    m_gradeLabel = nullptr;
    const coCareerGradeMap& grades = m_grades[m_currentPage];
    const auto found = grades.find(envString(trackType.c_str()));
    const i32 index = m_missions->GetSelection();
    const coMissionGrade grade =
        found != grades.end() && index >= 0 && index < kMaxMissions ? found->second[index] : 0;
    if (grade >= 0 && grade <= 4) {
        m_gradeLabel = FindChild(kGradeLabels[grade]);
        m_gradeLabel->SetVisible(true);
    }
}

void coCareerMenu::ReadObjectives(const fsLocator& file,
                                  std::vector<std::unique_ptr<coMissionObjective>>& out) {
    coReadMissionObjectives(file, out);
}

envString coCareerMenu::ObjectivesText(const std::string& trackType, const std::string& mission) {
    fsLocator file(coRootMissions);
    file.AppendComponent(envString(trackType.c_str()));
    file.AppendComponent(envString(mission.c_str()));
    std::vector<std::unique_ptr<coMissionObjective>> objectives;
    try {
        ReadObjectives(file, objectives);
    } catch (...) {
        objectives.clear();
        // A missing or damaged mission is said once; the menu goes on without its objectives.
        if (m_reported.insert(trackType + "/" + mission).second)
            coReportCurrentException();
    }
    envString text;
    i32 hidden = 0;
    for (size_t i = 0; i < objectives.size() && i < kListedObjectives; ++i) {
        if (IsHiddenObjective(*objectives[i])) {
            ++hidden;
            continue;
        }
        text.Append(envString("*"));
        text.Append(objectives[i]->GetDescription());
        text.Append(envString("\n"));
    }
    if (hidden > 0) {
        const gfTextSet texts(coScreenTextSet("uiop.tsf"), 32, true);
        text.Append(envString("*"));
        if (hidden == 1)
            text.Append(texts.GetText(kOneHiddenText));
        else
            text.Append(coFormatDescription(texts.GetText(kHiddenCountText), {hidden}));
        text.Append(envString("\n"));
    }
    return text;
}

bool coCareerMenu::IsClosingMission() const {
    const std::string trackType = NameOf(m_previousTrackType);
    const coCareerCompletionMap& map = m_completion[m_currentPage];
    const auto found = map.find(envString(trackType.c_str()));
    if (trackType.empty() || found == map.end())
        return true;
    // No mission number: the mission itself is not among the bits.
    const i32 mission = coMissionNumber(GetSelectedMission()) - 1;
    const i32 count = std::min(m_missions->GetButtonCount(), kMaxMissions);
    for (i32 i = 0; i < count; ++i) {
        if (i == mission ? found->second[i] : !found->second[i])
            return false;
    }
    return true;
}
