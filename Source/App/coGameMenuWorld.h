#pragma once
#include "Source/Modes/coMenuWorld.h"

// The menus' world in the running game: a new coaster gets its environment and its coaster type, and a
// ride its supports.
class coGameMenuWorld : public coMenuWorld {
  public:
    void LoadCoasterDefinitions(const std::string& trackType, const std::string& environment) override;
    void PrepareRide() override;
};
