#include "Source/World/coPropPack.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfFile.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coPropScreens.h"
#include "Source/World/coPropTemplateList.h"

#include <array>

namespace {

// Row 0 is the career's reward.
constexpr std::array<coPropPackRow, coPropPackCount> kRows{{
    {"svanyr", "pack00.prd", "Ironvale", "trophy.prd"},
    {"ynagrea", "pack01.prd", "Ironvale", "lantern.prd"},
    {"fgnghr", "pack02.prd", "Ironvale", "statue.prd"},
    {"oneery", "pack03.prd", "Ironvale", "barrel.prd"},
    {"fvtacbfg", "pack04.prd", "Ironvale", "signpost.prd"},
    {"pengr", "pack05.prd", "Ironvale", "crate.prd"},
    {"gbgrz", "pack06.prd", "Ironvale", "totem.prd"},
    {"nepu", "pack07.prd", "Ironvale", "arch.prd"},
    {"jvaqzvyy", "pack08.prd", "Ironvale", "windmill.prd"},
    {"ornpba", "pack09.prd", "Ironvale", "beacon.prd"},
    {"tnmrob7", "pack10.prd", "Ironvale", "gazebo.prd"},
}};

// Reopened on every way out, so that later reads of "geom.pak" find them.
class GeomPaksReopened {
  public:
    GeomPaksReopened() { Reopen(); }
    ~GeomPaksReopened() {
        try {
            Reopen();
        } catch (const envExceptionX&) {
            // A pak that vanished meanwhile is missing for later reads as it would be at start.
        }
    }

  private:
    static void Reopen() {
        coPakManager::CloseGeomPaks();
        coPakManager::OpenGeomPaks();
    }
};

std::string ReadWhole(const fsLocator& source) {
    gfFile file(source, gfFileRead);
    const u32 size = file.GetSize();
    std::string content(size, '\0');
    if (size > 0 && file.Read(size, content.data()) != size)
        throw fsUnknownX(source);
    return content;
}

void RowLocators(const coPropPackRow& row, fsLocator& source, fsLocator& destination) {
    source = fsLocator(coRootGeom);
    source.AppendComponent(row.packFile);
    destination = fsLocator(coRootSaves);
    destination.AppendComponent(coUnlockedPropsFolder);
    destination.AppendComponent(row.theme);
    destination.AppendComponent(row.definitionFile);
}

void MakeFolder(const fsLocator& folder) {
    if (!fsDirectoryExists(folder))
        fsCreateDirectory(folder);
}

} // namespace

const coPropPackRow& coGetPropPackRow(int row) {
    return kRows[size_t(row)];
}

envString coTransformPackWord(const envString& word) {
    envString out;
    for (u32 i = 0; i < word.GetLength(); ++i) {
        char16_t c = word[i];
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
        if (c >= u'a' && c <= u'z')
            c = char16_t(u'a' + (c - u'a' + 13) % 26);
        else if (c >= u'0' && c <= u'9')
            c = char16_t(u'9' - (c - u'0'));
        out.AppendChar(c);
    }
    return out;
}

bool coMatchPropPack(const envString& word, fsLocator& source, fsLocator& destination) {
    const envString transformed = coTransformPackWord(word);
    for (const coPropPackRow& row : kRows)
        if (transformed == envString(row.word)) {
            RowLocators(row, source, destination);
            return true;
        }
    source = destination = fsLocator();
    return false;
}

void coWritePropPack(gfFile& file, const std::string& content) {
    file.Write(static_cast<u32>(content.size()), content.data());
}

void coInstallPropPack(const fsLocator& source, const fsLocator& destination, const coPropPackWriter& write) {
    {
        GeomPaksReopened paks;
        const std::string content = ReadWhole(source);
        fsLocator target = destination;
        fsLocateInFirstRootDirectory(target);
        fsLocator theme = target;
        theme.RemoveLastComponent();
        fsLocator unlocked = theme;
        unlocked.RemoveLastComponent();
        if (!fsDirectoryExists(unlocked)) {
            fsCreateDirectory(unlocked);
            fsAddRootDirectory(coRootThemes, unlocked);
        }
        MakeFolder(theme);
        gfWriteFileAtomically(target, gfByteOrderPlain, [&](gfFile& file) { write(file, content); });
    }
    coPropTemplateList::RescanUnlocked();
    coGetPropScreens().RebuildPropsPalette();
}

bool coUnlockPropPack(const envString& word) {
    fsLocator source, destination;
    if (!coMatchPropPack(word, source, destination))
        return false;
    coInstallPropPack(source, destination);
    return true;
}

void coUnlockCareerRewardPack() {
    fsLocator source, destination;
    RowLocators(kRows[0], source, destination);
    coInstallPropPack(source, destination);
}
