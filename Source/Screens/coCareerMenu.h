#pragma once
#include "Engine/GUI/Gui/guiContainer.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Career/coMissionObjective.h"

#include <set>
#include <string>

class guiCheckbox;
class guiRadioGroup;

// The career menu's widget tree from the script "uicm": one page per career ("Coaster", "Vantorex1"),
// each with a radio group "TrackType" of its track types and, per track type, a radio group of its
// missions ("Mission<n>.cmi"). Missions open by the player's results; the screen shows the medal totals,
// the profile's name and ranking, the selected mission's win objectives and grade, and offers "Start
// Again" when the player has a saved attempt at the mission.
class coCareerMenu : public guiContainer, public coCareerResultsTarget {
  public:
    // Missions taking part in a track type: the results hold eight per track type.
    static constexpr i32 kMaxMissions = coCareerMissionCount;

    // Throws coScreenScriptX for a script without its pages or groups, and the loaders' exceptions.
    coCareerMenu();
    ~coCareerMenu() override;

    // Names of the selected buttons; empty when there is none.
    std::string GetSelectedTrackType() const;
    std::string GetSelectedMission() const;
    i32 GetCareerIndex() const { return m_currentPage; }

    void SetTrackwright(const envString& profile);
    const envString& GetTrackwright() const { return m_profile; }
    void SetCareerPage(i32 page, const std::string& trackType, const std::string& mission);
    void SetCareerResults(const std::vector<coCareerCompletionMap>& completion,
                          const std::vector<coCareerGradeMap>& grades,
                          const std::vector<i32>& counts) override;
    // Whether finishing the selected mission completes its track type for the first time.
    bool IsClosingMission() const;

    void Think() override;

  protected:
    // The win objectives of a mission file; throws what the mission reader throws.
    virtual void ReadObjectives(const fsLocator& file, std::vector<std::unique_ptr<coMissionObjective>>& out);

  private:
    void Update();
    void SwitchCareer();
    void RefreshTrackType();
    void RefreshMission();
    void ShowPage(i32 page, bool shown);
    guiRadioGroup* PageGroup(i32 page, const std::string& name) const;
    // The group's button of that mission number (from 1), or null.
    static guiCheckbox* MissionButton(const guiRadioGroup& group, i32 number);
    std::bitset<coCareerMissionCount> CompletedMissions(const envString& trackType) const;
    envString ObjectivesText(const std::string& trackType, const std::string& mission);

    bool m_firstUpdate = true;
    // Set by SetCareerPage: the menu shows the launched mission, not the first one not done.
    bool m_keepMission = false;
    envString m_profile;
    guiRadioGroup* m_trackTypes = nullptr;
    guiRadioGroup* m_missions = nullptr;
    guiCheckbox* m_previousTrackType = nullptr;
    guiCheckbox* m_previousMission = nullptr;
    std::vector<coCareerGradeMap> m_grades;
    std::vector<coCareerCompletionMap> m_completion;
    std::vector<i32> m_counts;
    guiWindow* m_gradeLabel = nullptr;
    guiContainer* m_pages[coCareerCount] = {};
    i32 m_currentPage = 1;
    // Mission files already reported as unreadable: each is reported once.
    std::set<std::string> m_reported;
};
