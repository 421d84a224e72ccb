#pragma once

// What listing and installing props ask of the game's loading screen and props palette; the screens
// install themselves once they exist. Until then nothing is shown.
class coPropScreens {
  public:
    virtual ~coPropScreens() = default;
    virtual void ShowLoadingScreen(bool restartCounter) { (void)restartCounter; }
    virtual void RebuildPropsPalette() {}
};

coPropScreens& coGetPropScreens();
// Not owned; null restores showing nothing.
void coSetPropScreens(coPropScreens* screens);
