#include "Source/App/coEnvironmentHooks.h"

#include "Engine/Core/Env/envString.h"
#include "Source/World/coEnvironment.h"

void coEnvironmentHooks::LoadEnvironment(int index) {
    coCoasterPackageHooks::LoadEnvironment(index);
    coGetEnvironment().SelectVariant(index);
}

void coEnvironmentHooks::SetEnvironmentName(const std::string& name) {
    coCoasterPackageHooks::SetEnvironmentName(name);
    // A scene clear empties the environment; the same one still loaded stays as it is.
    coEnvironment& environment = coGetEnvironment();
    const envString wanted(name.c_str());
    if (!name.empty() && environment.GetName() != wanted)
        environment.Load(wanted);
}
