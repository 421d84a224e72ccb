#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Modes/coMenuModes.h"
#include "Source/Modes/coModeEditor.h"

#include <functional>

// The editor inside a career mission: the mission's first pieces and its props may be locked, every
// piece kind and track element has a budget, the objectives are tested after each edit, and a closed
// circuit that meets the win objectives earns a medal kept in the player's career save. The player's
// attempt is saved in the player's own folder.
class coModeCareerBuilder : public coModeEditor, public coCareerMissionTarget {
  public:
    coModeCareerBuilder();
    ~coModeCareerBuilder() override;

    void Think() override;
    void Enter() override;
    void Exit() override;
    void OnChar(appCharEvent* event) override;

    // Reads the mission into the world; the loaders' exceptions leave the world and the mode as they were.
    void LoadMission(const fsLocator& file, i32 careerIndex) override;
    void SetPlayerName(const envString& name) override { m_player = name; }
    void SetFinalMission(bool final) override { m_finalMission = final; }

    bool CanDeleteSelection() override;
    bool CanEditSelectedPiece() override;
    bool CanManipulateProp() override;
    bool CanManipulateDock() override { return false; }

    void ShortStraightaway() override;
    void LongStraightaway() override;
    void Loop() override;
    void Corkscrew() override;
    void STurn() override;
    void CurvedLeft() override;
    void CurvedRight() override;
    void PitchUp() override;
    void PitchDown() override;
    void BankLeft() override;
    void BankRight() override;
    void Widen() override;
    void Narrow() override;
    void BendLeft() override;
    void BendRight() override;
    void Delete() override;
    void FinishCoaster() override;
    void AddRetarder() override;
    void RemoveRetarder() override;
    void AddAccelerator() override;
    void RemoveAccelerator() override;
    void AddBrake() override;
    void RemoveBrake() override;
    void AddChain() override;
    void RemoveChain() override;
    void HalfLoop() override;
    void HalfCorkRight() override;
    void HalfCorkLeft() override;
    void StraightUp() override;
    void ShallowRight() override;
    void ShallowLeft() override;

    // The entry of "Mission<d>.tsf" in "Missions" / track type under the text root; empty, with a
    // warning, when the set or the entry is missing.
    static envString GetMissionText(const fsLocator& mission, i32 missionNumber, u32 textId);
    void SaveMission();
    // Writes the player's attempt: null, or the failure.
    std::exception_ptr WriteMission();
    // Whether the player chose to ride.
    bool CompleteMission();
    void CheckCompletion();
    void UpdateObjectivesPalette();
    // Each prop that an objective names by its place in the order gets that number over it on screen.
    void UpdatePropMarks();
    // The effect plays 4 seconds from now.
    void PlaySoundLater(int effect);
    // The player's copy of the mission when it exists, else the installed one; a failure is reported and
    // the world kept.
    void Restart();

    const coMissionBudgets& GetBudgets() const { return m_budgets; }
    const fsLocator& GetMissionFile() const { return m_missionFile; }
    bool IsIntroPending() const { return m_introPending; }

  protected:
    int HandleMainButton(coMainButton button) override;
    void UpdateTrackManipPalette(coEditorPaletteState& state) override;
    // Escape and "Back" ask, and on Ok leave for the career menu.
    void AskToLeave() override;

  private:
    // Every budget's counter on the palettes.
    void ShowBudgets();
    void RunPieceCommand(int budget, const std::function<void()>& command);
    void RunAddCommand(int budget, const std::function<void()>& command);
    void RunRemoveCommand(const std::function<void()>& command);
    void TakeBudget(int index);
    void GiveBackBudget(int index);
    bool IsLockedPiece(const coCoasterPiece* piece) const;
    bool IsLockedProp(const coProp* prop) const;
    void PlayDelayedSoundWhenDue();
    void LeaveToCareerMenu();
    envString GetTrackType() const;
    // The copy of the mission in the player's folder.
    fsLocator PlayerMissionFile() const;

    coMissionBudgets m_budgets{};
    fsLocator m_missionFile;
    coObjectiveSet m_objectives;
    coMissionLocks m_locks;
    envString m_player;
    i32 m_careerIndex = 0;
    envString m_objectivesTitle;
    coFlythroughPath m_path;
    envString m_hint;
    bool m_introPending = false;
    bool m_completed = false;
    bool m_finalMission = false;
    bool m_leaveWithoutAsking = false;
    bool m_soundPending = false;
    float m_soundStart = 0.0f;
    int m_soundEffect = 0;
};
