#include "Engine/App/App/appSingleInstance.h"

#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Platform/Os/plInstanceGuard.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Engine/Platform/plErrors.h"
#include "Engine/Platform/plServices.h"

#include <string>

bool appCreateInstanceMutex(const char* name) {
    const u32 kind = envGetOSKind();
    const std::string fullName = (kind == 3 || kind == 6 ? "Global\\" : "") + std::string(name ? name : "");
    return plGetInstanceGuard().CreateMutex(fullName) == plErr::AlreadyExists;
}

bool appCheckSingleInstance(const char* name, const char* title) {
    if (!appCreateInstanceMutex(name))
        return false;
    if (!plGetInstanceGuard().RaiseRunningWindow(title ? title : ""))
        plGetMessageBox().Show(u"Another User is using this application", u"Application can't start",
                               plMb::Ok);
    return true;
}
