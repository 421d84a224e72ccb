#pragma once
#include <string>

// What making a coaster type current asks of the park world, the game screens and the modes. Their
// subsystems install their own; until then the environment is only named and indexed here, and the
// palette and the loading screen are not shown.
class coCoasterPackageHooks {
  public:
    virtual ~coCoasterPackageHooks() = default;

    virtual void LoadEnvironment(int index) { m_environmentIndex = index; }
    virtual void SetEnvironmentName(const std::string& name) { m_environmentName = name; }
    // Empty when none.
    virtual std::string GetEnvironmentName() const { return m_environmentName; }
    virtual int GetEnvironmentIndex() const { return m_environmentIndex; }
    virtual void RebuildDockPalette() {}
    // Restarting sets the progress back to its start; otherwise it continues.
    virtual void ShowLoadingScreen(bool /*restart*/) {}

  private:
    std::string m_environmentName;
    int m_environmentIndex = 0;
};

coCoasterPackageHooks& coGetCoasterPackageHooks();
// Not owned; null restores the defaults.
void coSetCoasterPackageHooks(coCoasterPackageHooks* hooks);

// Makes the environment and the coaster type current: the environment, the type's paks, its
// "Coaster.def", "Track.def" and "Support.def", its colour schemes (the player's copy, else the shipped
// one, else the built-in ones), the current colours applied. Names that are not one plain folder name
// throw fsInvalidLocatorX before anything changes. A failure leaves no type current and its paks closed.
void coLoadCoasterDefinitions(const std::string& environment, const std::string& coasterType,
                              int environmentIndex);
// The colour schemes' file of a coaster type, shipped in its environment and the player's copy in the saves.
inline constexpr const char* coTrackColorFileName = "TrkColor.def";

// Writes the stored colour schemes to the player's copy for the current environment and coaster type,
// creating its folders first.
void coSaveTrackColors();
