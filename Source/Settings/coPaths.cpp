#include "Source/Settings/coPaths.h"

#include "Engine/App/App/appIni.h"
#include "Engine/App/App/appRegistry.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Env/envUtf.h"
#include "Source/Settings/coErrorLine.h"
#include "Source/Settings/coErrorPackage.h"
#include "Source/Settings/coFileCause.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <initializer_list>
#include <optional>
#include <set>
#include <string_view>

namespace {

// Roles of the basic strings.
constexpr u32 kIniSection = 0;
constexpr u32 kProductFolder = 1;
constexpr u32 kIniFile = 2;
constexpr u32 kIniRootKey = 3;
constexpr u32 kRegistryKeyA = 4;
constexpr u32 kRegistryKeyB = 5;
constexpr u32 kRegistryRootValue = 6;
constexpr u32 kRegistryLanguageValue = 7;
constexpr u32 kIniLanguageKey = 28;

constexpr u32 kTextSetNumber = 32;
constexpr i32 kLocalMachine = 2;
constexpr u32 kRegistryBufferSize = 260;
constexpr const char* kPublisherFolder = "Zandrel Trackwrighting";
constexpr const char* kSavesFolder = "Saves";
constexpr const char* kPartialSavesFolder = "Saves.partial";
constexpr const char* kDefaultLanguage = "Eng";
constexpr const char* kDefaultLanguageCode = "ISLANG_ENGLISH_UNITEDSTATES";
constexpr size_t kLanguagePrefixLength = 7; // "ISLANG_"

// The game's texts of the saves folder: the old saves could not be copied; the folder cannot be used,
// why, and where the game saves instead.
constexpr u32 kSavesCopyError = 2;
constexpr u32 kSavesUnusableError = 12;
constexpr u32 kFileInPlaceText = 19;
constexpr u32 kBrokenLinkText = 20;
constexpr u32 kLinkLoopText = 21;
constexpr u32 kSavingInsteadText = 22;
constexpr u32 kNowhereToSaveText = 23;
constexpr u32 kNothingSavedText = 28;
constexpr u32 kSavesErrorDisplay = 5;

struct LanguageCode {
    const char* code;
    const char* folder;
};

constexpr LanguageCode kLanguageCodes[] = {
    {"ISLANG_ENGLISH", "Eng"},
    {"ISLANG_ENGLISH_UNITEDSTATES", "Eng"},
    {"ISLANG_ENGLISH_AUSTRALIAN", "Eng"},
    {"ISLANG_ENGLISH_CARIBBEAN", "Eng"},
    {"ISLANG_ENGLISH_CANADIAN", "Eng"},
    {"ISLANG_ENGLISH_NEWZEALAND", "Eng"},
    {"ISLANG_ENGLISH_JAMAICA", "Eng"},
    {"ISLANG_DUTCH", "Dut"},
    {"ISLANG_DUTCH_STANDARD", "Dut"},
    {"ISLANG_DUTCH_BELGIAN", "Dut"},
    {"ISLANG_FRENCH", "Fra"},
    {"ISLANG_FRENCH_STANDARD", "Fra"},
    {"ISLANG_FRENCH_BELGIAN", "Fra"},
    {"ISLANG_FRENCH_SWISS", "Fra"},
    {"ISLANG_FRENCH_LUXEMBOURG", "Fra"},
    {"ISLANG_GERMAN", "Ger"},
    {"ISLANG_GERMAN_STANDARD", "Ger"},
    {"ISLANG_GERMAN_SWISS", "Ger"},
    {"ISLANG_GERMAN_AUSTRIAN", "Ger"},
    {"ISLANG_GERMAN_LUXEMBOURG", "Ger"},
    {"ISLANG_GERMAN_LIECHTENSTEIN", "Ger"},
    {"ISLANG_ITALIAN", "Ita"},
    {"ISLANG_ITALIAN_STANDARD", "Ita"},
    {"ISLANG_ITALIAN_SWISS", "Ita"},
    {"ISLANG_PORTUGUESE", "Por"},
    {"ISLANG_PORTUGUESE_STANDARD", "Por"},
    {"ISLANG_PORTUGUESE_BRAZILIAN", "Por"},
    {"ISLANG_SPANISH", "Spa"},
    {"ISLANG_SPANISH_ARGENTINA", "Spa"},
    {"ISLANG_SPANISH_BOLIVIA", "Spa"},
    {"ISLANG_SPANISH_CHILE", "Spa"},
    {"ISLANG_SPANISH_COLOMBIA", "Spa"},
    {"ISLANG_SPANISH_COSTARICA", "Spa"},
    {"ISLANG_SPANISH_DOMINICANREPUBLIC", "Spa"},
    {"ISLANG_SPANISH_ECUADOR", "Spa"},
    {"ISLANG_SPANISH_ELSALVADOR", "Spa"},
    {"ISLANG_SPANISH_GUATEMALA", "Spa"},
    {"ISLANG_SPANISH_HONDURAS", "Spa"},
    {"ISLANG_SPANISH_MEXICAN", "Spa"},
    {"ISLANG_SPANISH_MODERNSORT", "Spa"},
    {"ISLANG_SPANISH_NICARAGUA", "Spa"},
    {"ISLANG_SPANISH_PANAMA", "Spa"},
    {"ISLANG_SPANISH_PARAGUAY", "Spa"},
    {"ISLANG_SPANISH_PERU", "Spa"},
    {"ISLANG_SPANISH_PUERTORICO", "Spa"},
    {"ISLANG_SPANISH_TRADITIONALIST", "Spa"},
    {"ISLANG_SPANISH_VENEZUELA", "Spa"},
    {"ISLANG_SPANISH_URUGUAY", "Spa"},
    {"ISLANG_ENGLISH_UNITEDKINGDOM", "Uk"},
    {"ISLANG_ENGLISH_IRELAND", "Uk"},
    {"ISLANG_ENGLISH_SOUTHAFRICA", "Uk"},
    {"ISLANG_H4X0R", "Hax"},
};

std::array<envString, coPaths::kBasicStringCount>& BasicStrings() {
    static std::array<envString, coPaths::kBasicStringCount> strings;
    return strings;
}

std::array<std::vector<fsLocator>, coPaths::kRootListCount>& RootLists() {
    static std::array<std::vector<fsLocator>, coPaths::kRootListCount> lists;
    return lists;
}

std::string Utf8(const envString& text) {
    return envUtf16ToUtf8(std::u16string_view(text.GetData(), text.GetLength()));
}

envString Wide(std::string_view text) {
    return envString(envUtf8ToUtf16(text).c_str());
}

std::string Basic(u32 index) {
    return Utf8(coPaths::GetBasicString(index));
}

std::string Native(const fsLocator& locator) {
    std::string path;
    fsLocatorToNativePath(locator, path);
    return path;
}

fsLocator Relative(std::initializer_list<envString> components) {
    fsLocator locator;
    for (const envString& component : components)
        locator.AppendComponent(component);
    return locator;
}

fsLocator Under(const fsLocator& base, const fsLocator& relative) {
    fsLocator locator = base;
    locator.AppendComponents(relative);
    return locator;
}

// A root's first directory, or an empty locator when it has none.
fsLocator FirstDirectory(i32 root) {
    std::vector<fsLocator> directories;
    fsGetRootDirectories(root, directories);
    return directories.empty() ? fsLocator() : directories.front();
}

// An empty locator stands for a root slot left empty (no disc, no user folder): never the working folder.
bool IsPresent(const fsLocator& folder) {
    return folder.GetComponentCount() > 0;
}

// A value of the game's INI file; an empty value counts as missing, and so does the whole file when its
// name is not a plain file name.
bool ReadIni(u32 keyIndex, std::string& out) {
    const envString& file = coPaths::GetBasicString(kIniFile);
    return coIsPlainFolderName(file) &&
           appIniReadString(Utf8(file), Basic(kIniSection), Basic(keyIndex), out) && !out.empty();
}

// A value of the game's registry key; keyOpened tells whether the key exists. Empty counts as missing.
bool ReadRegistry(u32 valueIndex, const char* defaultText, std::string& out, bool& keyOpened) {
    keyOpened =
        appRegistryIsSuccess(appRegistryOpen(kLocalMachine, Basic(kRegistryKeyA), Basic(kRegistryKeyB)));
    if (!keyOpened)
        return false;
    u32 size = kRegistryBufferSize;
    const bool read = appRegistryIsSuccess(appRegistryReadString(out, Basic(valueIndex), size, defaultText));
    appRegistryClose();
    return read && !out.empty();
}

envString MapLanguageCode(const std::string& code) {
    for (const LanguageCode& row : kLanguageCodes)
        if (code == row.code)
            return envString(row.folder);
    return code.size() < kLanguagePrefixLength ? envString()
                                               : Wide(std::string_view(code).substr(kLanguagePrefixLength));
}

// A path read from the INI file or the registry, split at '/' and '\'. Empty parts are dropped (a
// trailing separator among them); a relative path is taken from the program's folder.
fsLocator SplitPath(const std::string& text, const fsLocator& programFolder) {
    fsLocator locator;
    if (text.front() == '/' || text.front() == '\\')
        locator.AppendComponent("");
    else
        locator = programFolder;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            fsAppendNativeName(locator, text.substr(start, end - start));
        start = end + 1;
    }
    return locator;
}

fsLocator FindHDRoot(const fsLocator& programFolder) {
    std::string path;
    bool keyOpened = false;
    if (ReadIni(kIniRootKey, path)) {
        DBG_WARNING("Found HDRoot in INI: %s", path.c_str());
        return SplitPath(path, programFolder);
    }
    if (ReadRegistry(kRegistryRootValue, "", path, keyOpened)) {
        DBG_WARNING("Found HDRoot in REG: %s", path.c_str());
        return SplitPath(path, programFolder);
    }
    if (keyOpened)
        DBG_WARNING("Did not find HDRoot.");
    return programFolder;
}

// The two places a data folder may be: the hard-disc root and the disc's "Setup/Game" (either may be
// absent, an empty locator).
struct DataRoots {
    fsLocator hardDisc;
    fsLocator disc;
};

bool ExistsInDataRoots(const fsLocator& relative, const DataRoots& roots) {
    return (IsPresent(roots.hardDisc) && fsDirectoryExists(Under(roots.hardDisc, relative))) ||
           (IsPresent(roots.disc) && fsDirectoryExists(Under(roots.disc, relative)));
}

void AddDataRoot(i32 root, const fsLocator& relative, const DataRoots& roots) {
    const fsLocator onHardDisc = Under(roots.hardDisc, relative);
    if (IsPresent(roots.hardDisc) && fsDirectoryExists(onHardDisc)) {
        fsAddRootDirectory(root, onHardDisc);
        return;
    }
    if (IsPresent(roots.disc)) {
        const fsLocator onDisc = Under(roots.disc, relative);
        DBG_WARNING("looking on CD for %s", Native(onDisc).c_str());
        if (fsDirectoryExists(onDisc)) {
            fsAddRootDirectory(root, onDisc);
            return;
        }
    }
    DBG_WARNING("Corrupt installation - couldn't find %s", Native(onHardDisc).c_str());
}

// "Data", kind (Text or Voice), the language folder, or "Eng" when no data root holds that folder.
void AddLanguageRoot(i32 root, const char* kind, const envString& language, const DataRoots& roots) {
    fsLocator relative = Relative({"Data", kind, language});
    if (!ExistsInDataRoots(relative, roots))
        relative = Relative({"Data", kind, kDefaultLanguage});
    AddDataRoot(root, relative, roots);
}

// What cannot be removed now is left for the next start: it never stops this one.
void RemoveTree(const fsLocator& folder) {
    try {
        fsDeleteFileTree(folder);
    } catch (const envExceptionX&) {
        DBG_WARNING("could not remove %s", Native(folder).c_str());
    }
}

// Creates the folder and every missing folder above it.
void MakeFolders(const fsLocator& folder) {
    if (folder.GetComponentCount() <= 1 || fsDirectoryExists(folder))
        return;
    fsLocator parent = folder;
    parent.RemoveLastComponent();
    MakeFolders(parent);
    fsCreateDirectory(folder);
}

// The old saves are copied beside the new folder and renamed into place only when complete, so a failed
// copy never leaves a half-filled saves folder in use.
void MigrateSaves(const fsLocator& old, const fsLocator& saves) {
    fsLocator partial = saves;
    partial.RemoveLastComponent();
    partial.AppendComponent(kPartialSavesFolder);
    RemoveTree(partial);
    try {
        fsCopyFileTree(old, partial);
        fsRename(partial, saves);
    } catch (const envExceptionX&) {
        RemoveTree(partial);
        gfErrorHandler::Report(kSavesErrorDisplay, coErrorPackage, kSavesCopyError, nullptr);
        fsCreateDirectory(saves);
    }
}

std::string GameText(u32 number) {
    return coErrorLine(coErrorPackage, number);
}

// Why nothing but a folder can stand where the saves folder belongs, for an error of fsFolderPlaceError.
std::string PlaceCause(int error) {
    switch (error) {
    case ENOTDIR:
        return GameText(kFileInPlaceText);
    case ENOENT:
        return GameText(kBrokenLinkText);
    case ELOOP:
        return GameText(kLinkLoopText);
    default:
        return GameText(coFileCauseText(error));
    }
}

// The failure's own error text.
std::string OwnText(const envExceptionX& failure) {
    return coErrorLine(envErrorCodePackage(failure.GetCode()), envErrorCodeNumber(failure.GetCode()));
}

// Why the saves folder could not be made.
std::string MakeCause(const fsFileFailureX& failure) {
    const int error = failure.GetSystemError();
    return error == 0 ? OwnText(failure) : GameText(coFileCauseText(error));
}

// The user's data folder / publisher / product / "Saves", made when missing and filled from the hard-disc
// root's old "Saves" the first time. Nothing is made or copied where anything but a folder stands in its
// place. Returns why it cannot be used, or nothing when it can.
std::optional<std::string> SetupUserSaves(const fsLocator& saves, const fsLocator& hardDisc) {
    if (const int error = fsFolderPlaceError(saves))
        return PlaceCause(error);
    if (fsDirectoryExists(saves))
        return std::nullopt;
    try {
        fsLocator parent = saves;
        parent.RemoveLastComponent();
        MakeFolders(parent);
        const fsLocator old = Under(hardDisc, Relative({kSavesFolder}));
        if (IsPresent(hardDisc) && fsDirectoryExists(old))
            MigrateSaves(old, saves);
        else
            fsCreateDirectory(saves);
    } catch (const fsFileFailureX& e) {
        return MakeCause(e);
    } catch (const envExceptionX& e) {
        return OwnText(e);
    }
    return std::nullopt;
}

// Cleared when this run has no folder it can save in; told once, when the saves folder is set up.
bool g_canSave = true;

// The player is told which folder cannot be used and why, and where the game saves instead; when that
// folder cannot be written either, that nothing can be saved in this run.
void TellUnusableSaves(const fsLocator& saves, const std::string& cause) {
    const fsLocator instead = FirstDirectory(coRootSaves);
    const std::string path = Native(saves);
    g_canSave = IsPresent(instead) && fsCanWriteIn(instead);
    if (g_canSave) {
        DBG_WARNING("The saves folder %s cannot be used (%s); saving in %s", path.c_str(), cause.c_str(),
                    Native(instead).c_str());
    } else {
        DBG_WARNING("The saves folder %s cannot be used (%s); nowhere to save%s%s", path.c_str(),
                    cause.c_str(), IsPresent(instead) ? ": no writing in " : "",
                    IsPresent(instead) ? Native(instead).c_str() : "");
    }
    const std::string where = g_canSave ? GameText(kSavingInsteadText) + "\n" + Native(instead)
                                        : GameText(kNowhereToSaveText) + "\n" + GameText(kNothingSavedText);
    const std::string extra = path + "\n" + cause + "\n" + where;
    gfErrorHandler::Report(kSavesErrorDisplay, coErrorPackage, kSavesUnusableError, extra.c_str());
}

// The player's own saves folder, where the system has a folder for the user's data and the product's name
// is a folder name.
std::optional<fsLocator> UserSavesFolder() {
    const fsLocator userData = FirstDirectory(coRootSharedData);
    const u32 kind = envGetOSKind();
    if ((kind != 3 && kind != 6) || !IsPresent(userData))
        return std::nullopt;
    const envString& product = coPaths::GetBasicString(kProductFolder);
    if (!coIsPlainFolderName(product)) {
        DBG_WARNING("The product folder \"%s\" is not a folder name; saving in the data root",
                    Basic(kProductFolder).c_str());
        return std::nullopt;
    }
    return Under(userData, Relative({kPublisherFolder, product, kSavesFolder}));
}

// The player's own saves folder, else the data root's "Saves" (told when the player's cannot be used).
void AddSavesRoot(const DataRoots& roots) {
    g_canSave = true;
    const std::optional<fsLocator> saves = UserSavesFolder();
    std::optional<std::string> unusable;
    if (saves && !(unusable = SetupUserSaves(*saves, roots.hardDisc))) {
        fsAddRootDirectory(coRootSaves, *saves);
        return;
    }
    AddDataRoot(coRootSaves, Relative({kSavesFolder}), roots);
    if (unusable)
        TellUnusableSaves(*saves, *unusable);
}

void AddUnlockedPropDirs() {
    std::vector<fsLocator> saves;
    fsGetRootDirectories(coRootSaves, saves);
    for (const fsLocator& folder : saves) {
        const fsLocator props = Under(folder, Relative({coUnlockedPropsFolder}));
        if (fsDirectoryExists(props))
            fsAddRootDirectory(coRootThemes, props);
    }
}

// Lists each sub-folder of a root once, as a rooted locator: the first folder of a name wins, in the
// order of the root's directories.
class DirLister : public fsFileEnum::EnumTarget {
  public:
    DirLister(i32 root, std::vector<fsLocator>& list) : m_root(root), m_list(list) {
        for (const fsLocator& listed : list)
            m_names.insert(listed.GetLastComponent());
    }
    bool OnEntry(const fsLocator&, const fsLocator& entry) override {
        const envString& name = entry.GetLastComponent();
        if (name == envString(".") || name == envString("..") || !m_names.insert(name).second)
            return true;
        fsLocator found(m_root);
        found.AppendComponents(entry);
        m_list.push_back(found);
        return true;
    }

  private:
    i32 m_root;
    std::vector<fsLocator>& m_list;
    std::set<envString> m_names;
};

} // namespace

bool coPaths::CanSave() {
    return g_canSave;
}

bool coPaths::IsUnderSaves(const fsLocator& file) {
    if (file.GetRoot() == coRootSaves)
        return true;
    const std::string path = Native(file);
    std::vector<fsLocator> folders;
    fsGetRootDirectories(coRootSaves, folders);
    return std::any_of(folders.begin(), folders.end(), [&path](const fsLocator& folder) {
        const std::string saves = Native(folder) + "/";
        return saves.size() > 1 && path.starts_with(saves);
    });
}

bool coIsPlainFolderName(const envString& name) {
    if (name.GetLength() == 0 || name == envString(".") || name == envString(".."))
        return false;
    for (u32 i = 0; i < name.GetLength(); ++i)
        if (name[i] == u'/' || name[i] == u'\\' || name[i] == 0)
            return false;
    return true;
}

void coPaths::LoadBasicStrings() {
    fsLocator file(coRootProgram);
    file.AppendComponent("basicstr.tsf");
    const gfTextSet set(file, kTextSetNumber, true);
    // A set whose count was cut to nothing holds no texts: the game's names and folders would all be empty.
    if (set.GetTexts().empty())
        throw gfInvalidTextSetFileX(file, gfDamage::CutShort);
    for (u32 i = 0; i < kBasicStringCount; ++i)
        BasicStrings()[i] = set.GetText(i);
}

const envString& coPaths::GetBasicString(u32 index) {
    return BasicStrings()[index];
}

envString coPaths::GetLanguageFolder() {
    std::string code;
    bool keyOpened = false;
    if (!ReadIni(kIniLanguageKey, code) &&
        !ReadRegistry(kRegistryLanguageValue, kDefaultLanguageCode, code, keyOpened))
        return envString(kDefaultLanguage);
    const envString folder = MapLanguageCode(code);
    if (coIsPlainFolderName(folder))
        return folder;
    DBG_WARNING("The language code \"%s\" names no language folder; using %s", code.c_str(),
                kDefaultLanguage);
    return envString(kDefaultLanguage);
}

void coPaths::Init() {
    if (!coIsPlainFolderName(GetBasicString(kIniFile)))
        DBG_WARNING("The INI file name \"%s\" is not a file name; the INI file is not read",
                    Basic(kIniFile).c_str());
    const envString language = GetLanguageFolder();
    DataRoots roots{FindHDRoot(FirstDirectory(coRootProgram)), FirstDirectory(coRootDisc)};
    if (IsPresent(roots.disc))
        roots.disc.AppendComponents(Relative({"Setup", "Game"}));

    AddDataRoot(coRootData, fsLocator(), roots);
    AddDataRoot(coRootThemes, Relative({"Themes"}), roots);
    AddDataRoot(coRootTracks, Relative({"Tracks"}), roots);
    AddDataRoot(coRootEnvironments, Relative({"Environments"}), roots);
    AddSavesRoot(roots);
    AddDataRoot(coRootGui, Relative({"Data", "GUI"}), roots);
    AddLanguageRoot(coRootText, "Text", language, roots);
    AddLanguageRoot(coRootVoice, "Voice", language, roots);
    AddDataRoot(coRootEffects, Relative({"Data", "Effects"}), roots);
    AddDataRoot(coRootMissions, Relative({"Data", "Missions"}), roots);
    AddDataRoot(coRootVideo, Relative({"Data", "Video"}), roots);
    AddDataRoot(coRootMusic, Relative({"Data", "Music"}), roots);
    AddDataRoot(coRootGeom, Relative({"Data", "Geom"}), roots);
    AddUnlockedPropDirs();

    for (std::vector<fsLocator>& list : RootLists())
        list.clear();
    for (i32 root : {coRootEnvironments, coRootThemes, coRootTracks})
        ListRootDirectories(root);
    const fsLocator saves = FirstDirectory(coRootSaves);
    if (IsPresent(saves))
        RootLists()[coRootSaves].push_back(saves);
}

void coPaths::ListRootDirectories(i32 root) {
    if (root < 0 || static_cast<u32>(root) >= kRootListCount)
        return;
    RootLists()[root].clear();
    DirLister lister(root, RootLists()[root]);
    fsEnumerateDirectories(fsLocator(root), lister);
}

void coPaths::GetRootDirectories(i32 root, std::vector<fsLocator>& out) {
    out.clear();
    if (root >= 0 && static_cast<u32>(root) < kRootListCount)
        out = RootLists()[root];
}

fsLocator coPaths::FindRootDirectory(i32 root, const envString& name) {
    if (root >= 0 && static_cast<u32>(root) < kRootListCount)
        for (const fsLocator& listed : RootLists()[root])
            if (listed.GetLastComponent() == name)
                return listed;
    std::vector<fsLocator> directories;
    fsGetRootDirectories(root, directories);
    return directories.empty() ? fsLocator(root) : directories.front();
}
