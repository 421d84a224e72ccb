#include "Source/SavedCoaster/coSavedCoasterServices.h"

#include "Engine/App/Ch/chWriter.h"
#include "Engine/Core/Env/envUtf.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Settings/coSeam.h"
#include "Source/Sound/coMusic.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropList.h"
#include "Source/World/coThemeList.h"

namespace {
coSavedCoasterServices g_defaults;
constinit coSeam<coSavedCoasterServices> g_installed(g_defaults);
} // namespace

void coSavedCoasterServices::LoadCoasterDefinitions(const std::string& environment,
                                                    const std::string& coasterType, int environmentIndex) {
    coLoadCoasterDefinitions(environment, coasterType, environmentIndex);
}

void coSavedCoasterServices::SetNumCars(int cars) {
    coCoasterDefinitionStore().SetNumCars(cars);
}

void coSavedCoasterServices::ClearScene() {
    coClearScene();
}

int coSavedCoasterServices::GetMusicTrack(int list) const {
    return coMusicGetChoice(list);
}

void coSavedCoasterServices::SetMusicTrack(int list, int track) {
    coMusicSetChoice(list, track);
}

fsLocator coSavedCoasterServices::GetMusicFolder(int list) const {
    return coMusicGetOwnTrack(list);
}

void coSavedCoasterServices::SetMusicFolder(int list, const fsLocator& folder) {
    coMusicSetOwnTrack(list, folder);
}

std::string coSavedCoasterServices::GetEnvironmentName() const {
    return coGetCoasterPackageHooks().GetEnvironmentName();
}

int coSavedCoasterServices::GetEnvironmentIndex() const {
    return coGetCoasterPackageHooks().GetEnvironmentIndex();
}

std::string coSavedCoasterServices::GetDisplayName(const std::string& folder) const {
    const std::u16string units = envUtf8ToUtf16(folder);
    envString name;
    coThemeList::GetDisplayName(name, envString(units.c_str()));
    return envUtf16ToUtf8(std::u16string_view(name.GetData() ? name.GetData() : u"", name.GetLength()));
}

void coSavedCoasterServices::WriteProps(chWriter& writer) const {
    std::vector<coProp*> props;
    coPropList::CollectAll(props);
    coPropList::WriteChunk(writer, props);
}

std::unique_ptr<coPendingProps> coSavedCoasterServices::ReadProps(chReader& reader, u16, u32) const {
    auto pending = std::make_unique<coPropRecords>();
    coReadPropRecords(reader, pending->records);
    return pending;
}

void coSavedCoasterServices::PlaceProps(coPendingProps& pending) {
    auto* records = dynamic_cast<coPropRecords*>(&pending);
    if (!records)
        return;
    for (auto& prop : records->Take())
        coPropList::Add(std::move(prop));
}

coSavedCoasterServices& coGetSavedCoasterServices() {
    return g_installed.Get();
}

void coSetSavedCoasterServices(coSavedCoasterServices* services) {
    g_installed.Set(services);
}
