#pragma once
#include "Source/Modes/coMenuWorld.h"

// The menus' world in the running game: a new coaster gets its environment and its coaster type, a ride
// its supports, and a loaded coaster its name on the builder's main palette.
class coGameMenuWorld : public coMenuWorld {
  public:
    void LoadCoasterDefinitions(const std::string& trackType, const std::string& environment) override;
    void PrepareRide() override;
    void SetCoasterName(const envString& name) override;
};
