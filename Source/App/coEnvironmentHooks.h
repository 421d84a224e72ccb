#pragma once
#include "Source/Park/coCoasterPackage.h"

// The coaster package's environment in the running game: the environment named for a coaster is loaded
// in the variant chosen for it, and a variant chosen later is applied at once.
class coEnvironmentHooks : public coCoasterPackageHooks {
  public:
    void LoadEnvironment(int index) override;
    void SetEnvironmentName(const std::string& name) override;
};
