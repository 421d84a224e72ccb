#include "Source/Park/coCoasterPackage.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coSeam.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include <vector>

namespace {

coCoasterPackageHooks g_defaults;
constinit coSeam<coCoasterPackageHooks> g_installed(g_defaults);

void Refresh() {
    coGetCoasterPackageHooks().ShowLoadingScreen(false);
}

fsLocator Append(fsLocator locator, const std::string& name) {
    fsAppendNativeName(locator, name);
    return locator;
}

// Saved coasters carry both names, and they become folders here: one plain name each, or nothing is done.
void RequirePlainName(const std::string& name) {
    const fsLocator single = Append(fsLocator(), name);
    envString text;
    fsNativeToString(name.data(), name.size(), text);
    if (!coIsPlainFolderName(text))
        throw fsInvalidLocatorX(single);
}

// The colour schemes' folder in the environment's own tree, relative to its root.
fsLocator TypeInEnvironment(fsLocator root, const std::string& environment, const std::string& type) {
    return Append(Append(Append(root, environment), "Tracks"), type);
}

// The player's copy in the first folder of the saves root; false when that root has none.
bool PlayerColorFolder(const std::string& environment, const std::string& type, fsLocator& out) {
    std::vector<fsLocator> candidates;
    fsGetRootCandidates(
        TypeInEnvironment(Append(fsLocator(coRootSaves), coTrackColoursFolder), environment, type),
        candidates);
    if (candidates.empty())
        return false;
    out = candidates.front();
    return true;
}

void LoadColorSchemes(const std::string& environment, const std::string& type) {
    fsLocator folder;
    if (PlayerColorFolder(environment, type, folder) && fsFileExists(Append(folder, coTrackColorFileName))) {
        // A damaged copy must not lock the player out of the type: the shipped schemes stand in for it,
        // and the next save of the colours replaces it.
        try {
            loadColorSchemes(Append(folder, coTrackColorFileName));
            return;
        } catch (const envExceptionX& e) {
            DBG_WARNING("track colours: the player's \"%s\" for %s in %s cannot be read (error 0x%08X); the "
                        "shipped one is used",
                        coTrackColorFileName, type.c_str(), environment.c_str(), e.GetCode());
        }
    }
    const fsLocator shipped =
        Append(TypeInEnvironment(fsLocator(coRootEnvironments), environment, type), coTrackColorFileName);
    fsLocator found;
    if (fsFindInRootDirectories(shipped, found)) {
        loadColorSchemes(found);
        return;
    }
    DBG_WARNING("track colours: no \"%s\" for %s in %s; the built-in schemes are used", coTrackColorFileName,
                type.c_str(), environment.c_str());
    coTrackColorizer::MakeDefaultSchemes();
}

void LoadTypeFiles(const std::string& environment, const std::string& type) {
    coCoasterDefinitionStore().Load("Coaster.def");
    Refresh();
    coTrackDefinitionSource& definitions = coGetTrackDefinitionSource();
    definitions.LoadTrackDefinition("Track.def");
    Refresh();
    definitions.LoadSupportDefinition("Support.def");
    Refresh();
    // The builder dropped the pieces' objects before it deleted the old definitions.
    if (coCircuitPieceCount() > 0)
        coGetTrackBuilder().RebuildPieceObjects(coCircuitFirstPiece(), 2);

    LoadColorSchemes(environment, type);
    // The selection may name a scheme of the type before.
    if (!coTrackColorizer::GetCurrentScheme().empty())
        coTrackColorizer::FindMatchingScheme();
    coTrackColorizer::ApplyCurrent();
    Refresh();
    coCreateShadowMaterial();
    coSetCollisionChecks(true);
}

} // namespace

coCoasterPackageHooks& coGetCoasterPackageHooks() {
    return g_installed.Get();
}

void coSetCoasterPackageHooks(coCoasterPackageHooks* hooks) {
    g_installed.Set(hooks);
}

void coLoadCoasterDefinitions(const std::string& environment, const std::string& coasterType,
                              int environmentIndex) {
    RequirePlainName(environment);
    RequirePlainName(coasterType);
    coCoasterPackageHooks& hooks = coGetCoasterPackageHooks();
    hooks.LoadEnvironment(environmentIndex);
    Refresh();
    hooks.SetEnvironmentName(environment);
    coCoasterDefinition& store = coCoasterDefinitionStore();
    if (store.GetCoasterTypeName() != coasterType) {
        store.SetCoasterTypeName(coasterType);
        hooks.RebuildDockPalette();
    }
    Refresh();
    try {
        // Always reopened: the type's files may have changed on disc.
        coPakManager::OpenCoasterPaks(envString(coasterType.c_str()));
        Refresh();
        LoadTypeFiles(environment, coasterType);
    } catch (...) {
        // No type is current, so that a retry loads it whole and rebuilds the dock palette.
        store.SetCoasterTypeName(std::string());
        coPakManager::CloseCoasterPaks();
        throw;
    }
}

void coSaveTrackColors() {
    const std::string environment = coGetCoasterPackageHooks().GetEnvironmentName();
    const std::string type = coGetCoasterDefinition().GetCoasterTypeName();
    RequirePlainName(environment);
    RequirePlainName(type);
    fsLocator folder;
    if (!PlayerColorFolder(environment, type, folder))
        throw fsInvalidLocatorX(fsLocator(coRootSaves));
    const fsLocator file = Append(folder, coTrackColorFileName);
    if (!fsFileExists(file)) {
        // Each level below the saves folder, from the colours folder down to the type.
        const u32 levels = 4;
        for (u32 n = levels; n > 0; --n) {
            fsLocator level = folder;
            for (u32 i = 1; i < n; ++i)
                level.RemoveLastComponent();
            if (!fsDirectoryExists(level))
                fsCreateDirectory(level);
        }
    }
    saveColorSchemes(file);
}
