#pragma once
#include "Source/Modes/coRideSettings.h"

class coRidePauseDialog;

// The game's ride pause dialog behind the ride settings flow, run on the current mode's frame: the one of
// CreateDialog (the ride's, for its pauses) until DestroyDialog, else one made for each use. A dialog whose
// content cannot be loaded is reported and that use ends as Cancel.
class coScreenRideSettings : public coRidePauseDialogScreens {
  public:
    ~coScreenRideSettings() override;
    void CreateDialog() override;
    void DestroyDialog() override;
    void SetMode(int mode) override;
    void SetSettings(const coRideSettings& settings) override;
    void GetSettings(coRideSettings& settings) override;
    void GetSchemes(std::vector<coColorScheme>& out) override;
    int DoModal() override;
    int GetExitAction() const override;
    // The main palette's feedback line and the objectives panel, while they exist.
    void HideFeedback() override;
    void SetObjectivesCollapsed(bool collapsed) override;

  private:
    bool Ensure();

    coRidePauseDialog* m_dialog = nullptr;
    bool m_madeForOneUse = false;
};
