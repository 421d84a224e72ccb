#include "Source/World/coThemeList.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Settings/coPaths.h"

#include <vector>

namespace {

constexpr u32 kTextSetNumber = 32;

bool SetExists(const fsLocator& file) {
    fsLocator found;
    return file.IsRooted() ? fsFindInRootDirectories(file, found) : fsFileExists(file);
}

void AddNames(i32 root, bool perFolderSet, std::map<envString, envString>& names) {
    std::vector<fsLocator> folders;
    coPaths::GetRootDirectories(root, folders);
    for (const fsLocator& folder : folders) {
        const envString& name = folder.GetLastComponent();
        fsLocator set(coRootText);
        if (perFolderSet) {
            set.AppendComponent(name);
            set.AppendComponent("thmname.tsf");
        } else {
            envString file = name;
            file.Append(".tsf");
            set.AppendComponent(file);
        }
        std::map<u32, envString> texts;
        if (coReadSetTexts(set, texts) > 0)
            names[name] = texts[0];
    }
}

} // namespace

u32 coReadSetTexts(const fsLocator& file, std::map<u32, envString>& texts) {
    texts.clear();
    if (!SetExists(file))
        return 0;
    try {
        texts = gfTextSet(file, kTextSetNumber, true).GetTexts();
    } catch (const envExceptionX& e) {
        std::string path;
        fsJoinComponents(file, path);
        DBG_WARNING("The text set %s cannot be read (error 0x%08X); its names are empty", path.c_str(),
                    e.GetCode());
    }
    return static_cast<u32>(texts.size());
}

std::map<envString, envString>& coThemeList::Names() {
    static std::map<envString, envString> names;
    return names;
}

void coThemeList::Build() {
    Names().clear();
    AddNames(coRootEnvironments, false, Names());
    AddNames(coRootTracks, false, Names());
    AddNames(coRootThemes, true, Names());
}

void coThemeList::GetDisplayName(envString& out, const envString& folder) {
    const auto found = Names().find(folder);
    out = found == Names().end() ? folder : found->second;
}

void coThemeList::Clear() {
    Names().clear();
}
