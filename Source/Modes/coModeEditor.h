#pragma once
#include "Engine/App/App/appEventHandler.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coMode.h"

#include <array>
#include <bitset>
#include <map>
#include <memory>
#include <string>
#include <vector>

class coCoasterPiece;
class scCameraManip;
class guiWindow;
class envString;

// A keyboard or controller action that presses a palette button, and where the button is found.
struct coActionButton {
    i32 action;
    const char* button;
    // 0 main palette, 1 track manipulation palette, 2 its "Placers" container.
    int palette;
};
// The actions 117 to 141 and 147 to 151 in increasing order.
const std::array<coActionButton, 30>& coEditorActionButtons();

// Whether a typed coaster name can be a saved file's name: one plain component, no control characters,
// and the file name with ".csa" no longer than 255 bytes of UTF-8.
bool coIsValidCoasterName(const envString& name);
// The names of the saved coasters in the saves folder: files whose names end in ".csa", without it.
std::vector<envString> coListSavedCoasterNames();

// The track editor: the player lays and shapes the coaster, picks what to work on, and tests, rides
// and saves the result. The builder and the career builder derive from it; each palette command is a
// virtual operation so that the career builder can wrap it with its piece budget.
class coModeEditor : public coMode, public appCharEventHandler {
  public:
    enum Flag {
        TestRideRequested = 1,
        RideRequested = 2,
        PlacePropStarted = 3,
        DockModeRequested = 4,
        ManipulateStarted = 5,
        Modified = 6,
        InterfaceHidden = 7,
        GridShown = 8,
        GridAutomatic = 9,
        QuitRequested = 10,
        CareerQuitRequested = 11,
        NoModalDialog = 13,
    };
    using Command = void (coModeEditor::*)();

    coModeEditor();
    ~coModeEditor() override;

    void Think() override;
    void Enter() override;
    void Exit() override;
    bool IsModified() override { return m_flags.test(Modified); }
    void MarkModified() override { m_flags.set(Modified); }
    void OnChar(appCharEvent* event) override;

    virtual bool CanDeleteSelection();
    virtual bool CanEditSelectedPiece() { return true; }
    virtual bool CanManipulateProp() { return true; }
    virtual bool CanManipulateDock() { return true; }

    // The palette commands.
    virtual void ShortStraightaway();
    virtual void LongStraightaway();
    virtual void Loop();
    virtual void Corkscrew();
    virtual void STurn();
    virtual void CurvedLeft();
    virtual void CurvedRight();
    virtual void PitchUp();
    virtual void PitchDown();
    virtual void BankLeft();
    virtual void BankRight();
    virtual void Widen();
    virtual void Narrow();
    virtual void BendLeft();
    virtual void BendRight();
    virtual void Delete();
    virtual void FinishCoaster();
    virtual void AddTubeDecoration();
    virtual void RemoveTubeDecoration();
    virtual void AddRetarder();
    virtual void RemoveRetarder();
    virtual void AddAccelerator();
    virtual void RemoveAccelerator();
    virtual void AddBrake();
    virtual void RemoveBrake();
    virtual void AddChain();
    virtual void RemoveChain();
    virtual void HalfLoop();
    virtual void HalfCorkRight();
    virtual void HalfCorkLeft();
    virtual void StraightUp();
    virtual void ShallowRight();
    virtual void ShallowLeft();

    // Runs the command of the track manipulation button released this frame and gives the collision
    // feedback: 0 when no command has that name, 2 when the dock mode was asked for, else 1.
    int RunPaletteCommand(const std::string& button);
    const std::map<std::string, Command>& GetCommands() const { return m_commands; }

    // After every change of the circuit: the ride is simulated again for the statistics.
    void Refresh();
    // The untextured building view (terrain, props and dock without their textures), unless the player
    // keeps textures in the builder; called again after a load brings new world objects.
    static void ShowBuildingView();
    void SelectNext();
    void SelectPrevious();
    void SaveAs();
    // Looks up the palette buttons of the action table again (after the palettes were made).
    void BindActionWindows();

    bool TestFlag(Flag flag) const { return m_flags.test(flag); }
    void SetFlag(Flag flag, bool on = true) { m_flags.set(flag, on); }
    g3dCamera& GetCamera() { return m_camera; }
    scCameraManip* GetCurrentCamera();
    const coCoasterPiece* GetStatsPiece() const { return m_statsPiece; }

    // The selection marker is drawn over the box's centre, scaled to the box (at least 4.0 an axis)
    // times 0.6, mirrored in x.
    static maVector3d MarkerScale(const maBoundingBox& box);

  protected:
    void BeginModal();
    void EndModal();
    // A main palette button: 0 nothing, 1 handled, 2 handled and the frame ends.
    virtual int HandleMainButton(coMainButton button);
    // Escape or "Back": asks, and on Ok leaves for the main menu with the world cleared.
    virtual void AskToLeave();
    // Reports the failure in flight of loading the file: a damaged file with the given text, so the player
    // is not told that the game must end while it plays on.
    static void ReportLoadFailure(const envExceptionX& failure, const fsLocator& file, u32 damagedText);
    // What the track manipulation palette is shown, adjusted before it is handed over.
    virtual void UpdateTrackManipPalette(coEditorPaletteState&) {}

  private:
    void BindCommand(const char* button, Command command) { m_commands[button] = command; }
    // 0 nothing, 1 handled, 2 handled and the frame ends.
    int HandleInput();
    int HandleMainPalette();
    int HandleManipulatePalettes();
    // Starts the tool that turns or moves the selected prop or dock; false when none applies.
    bool StartManipulateTool(const std::string& button);
    int HandlePropsPalette();
    int HandleDockPalette();
    // 0 nothing, 1 handled, 3 a key pressed a palette button.
    int HandleActions();
    int PressActionWindow(i32 action, guiWindow* window);
    guiWindow* GetActionWindow(i32 action);
    void UpdatePalettes();
    void GiveCollisionFeedback();
    void UpdateSelectionDisplay();
    void PlaceSelectionMarker(const maBoundingBox& box);
    void SwitchCamera();
    void Revert();
    void Save();
    // The world was cleared: nothing selected, no statistics piece, nothing to save or ride.
    void OnSceneCleared();

    void AppendPiece(std::unique_ptr<coCoasterPiece> piece);
    void ChangePitch(float sign);
    void ChangeRoll(float sign);
    void AdjustParameter(bool parameterA, float sign, int changedSound);
    void SetElement(int element, int sound);
    void SetTube(int tube, int sound);

    std::map<std::string, Command> m_commands;
    std::map<i32, guiWindow*> m_actionWindows;
    i32 m_heldAction = -1;
    guiWindow* m_heldWindow = nullptr;
    std::bitset<14> m_flags;
    g3dCamera m_camera;
    std::vector<std::unique_ptr<scCameraManip>> m_cameras;
    i32 m_cameraIndex = 0;
    const coCoasterPiece* m_statsPiece = nullptr;
    bool m_markerVisible = false;
    maVector3d m_markerPosition;
    maVector3d m_markerScale;
};
