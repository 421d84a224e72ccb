// The "props" scene: placed props and target rings read from their file sections (written by
// rdemo_parkfiles) over R1 in an environment of the built content, found through the installation's
// folders as the game finds them. The train rides for the given seconds past the props near the track.
// The checks: every prop of the file is made, an animated prop played an entry or exit event on the way,
// a ring is passed (gold) and another is not, and both props and rings change the picture.
#include "../../../Content/coBuiltTree.h"
#include "Engine/App/App/appClock.h"
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Platform/Os/plSystemFolders.h"
#include "Engine/Platform/plServices.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideCars.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Screens/coReportException.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coTargetRingList.h"
#include "rdemo.h"
#include "rdemoCoaster.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kCarsPerTrain = 4;
constexpr f32 kStep = 1.0f / 30.0f;

// The built data tree as the installation the program would start from, the player's folder in a
// temporary one; the roots and the folder lists go with it.
class Installation {
  public:
    Installation() : m_user(fs::temp_directory_path() / ("rdemo-props-" + std::to_string(getpid()))) {
        fs::create_directories(m_user);
        plServices services = m_services;
        services.folders = &m_folders;
        plInstallServices(services);
        coStartFromBuiltTree(m_folders, m_user.string());
    }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;
    ~Installation() {
        fsResetRootTable();
        plInstallServices(m_services);
        fs::remove_all(m_user);
    }

  private:
    plServices m_services = plGetServices();
    plTestSystemFolders m_folders;
    fs::path m_user;
};

// The chunk of the id in a chunk file, read by `read` from inside it.
void ReadChunkFile(const std::string& path, u32 wanted, const std::function<void(chReader&)>& read) {
    fsLocator locator;
    fsLocatorFromNativePath(path.c_str(), locator);
    gfFile file(locator, gfFileRead, gfByteOrderData);
    u8 version[4];
    file.ReadBinHeader(version);
    chBinReader reader(&file);
    u32 id, size;
    u16 chunkVersion;
    while (reader.BeginChunk(&id, &chunkVersion, &size)) {
        if (id == wanted)
            read(reader);
        reader.EndChunk();
    }
}

// Makes every prop of the file and places it; false (with a message) when a prop has no template.
bool PlaceProps(const std::string& path) {
    std::vector<coPropRecord> records;
    ReadChunkFile(path, coChunkPropList, [&](chReader& reader) { coReadPropRecords(reader, records); });
    std::vector<std::unique_ptr<coProp>> made;
    coPropList::MakeProps(records, made);
    if (made.size() != records.size() || made.empty()) {
        std::fprintf(stderr, "rdemo: %zu props made of %zu in the file\n", made.size(), records.size());
        return false;
    }
    for (auto& prop : made)
        coPropList::Add(std::move(prop));
    coPropList::PlaceAllTrackProps();
    coPropList::SetAllActive(true);
    return true;
}

bool LeftIdle(const coProp& prop) {
    const coPropTemplate& kind = prop.GetTemplate();
    return prop.IsAnimated() && prop.GetCurrentAnimation() &&
           (kind.GetListSize(coPropTemplate::kIdle) == 0 ||
            prop.GetCurrentAnimation() != &kind.GetAnimation(coPropTemplate::kIdle, 0));
}

size_t Differing(const std::vector<u32>& a, const std::vector<u32>& b) {
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF) ? 1 : 0;
    return count;
}

// The ride, the props and the rings in their places after the seconds; the checks on the frame.
bool RideAndCheck(DemoCoaster& coaster, f32 seconds, std::vector<u32>& picture) {
    coRideStart(kCarsPerTrain, true, 1);
    coRideLaunchTrain(0);
    std::vector<coProp*> props;
    coPropList::CollectAll(props);
    // The props that played an entry or exit event on the way.
    std::set<const coProp*> played;
    for (f32 time = 0.0f; time < seconds; time += kStep) {
        appClock::SetTime(time, kStep);
        coRideUpdate(*coaster.Camera().GetPosition());
        coPropList::UpdateAll(time);
        scUpdateAll(time);
        for (const coProp* prop : props)
            if (LeftIdle(*prop))
                played.insert(prop);
    }
    coTargetRingList::AllPassed(false);
    picture = coaster.Frame();

    const auto& rings = coTargetRingList::GetRings();
    const size_t passed =
        std::count_if(rings.begin(), rings.end(), [](const auto& r) { return r->IsPassed(); });
    coPropList::SetAllVisible(false);
    const size_t byProps = Differing(picture, coaster.Frame());
    coPropList::SetAllVisible(true);
    coTargetRingList::SetVisible(false);
    const size_t byRings = Differing(picture, coaster.Frame());
    coTargetRingList::SetVisible(true);
    std::fprintf(stderr,
                 "rdemo: %zu props (%zu played an event), %zu of %zu rings passed; %zu pixels of props, %zu "
                 "of rings\n",
                 props.size(), played.size(), passed, rings.size(), byProps, byRings);
    if (played.empty() || passed == 0 || passed == rings.size() || byProps < 20 || byRings < 20) {
        std::fprintf(stderr, "rdemo: the props and rings do not show as the ride left them\n");
        return false;
    }
    return true;
}

} // namespace

std::vector<u32> DrawPropsScene(const std::string& environment, int variant, const std::string& props,
                                const std::string& rings, f32 seconds) {
    Installation installation;
    coSetThemeName("Ironvale");
    std::vector<u32> picture;
    bool shown = false;
    {
        DemoCoaster coaster("Steel", -1, true, DemoLayR1, -1);
        coaster.HideGround();
        // The demo starts no sound system: props play their particles and animations only.
        coPrefs::SetBool(coPrefSoundEffectsOff, true);
        scLensFlarePackageStart();
        coRideCars cars([] { coReportCurrentException(); });
        coSetRideCarScene(&cars);
        try {
            coEnvironment& park = coGetEnvironment();
            park.SelectVariant(variant);
            park.Load(envString(environment.c_str()));
            coPropTemplateList::Build(false);
            ReadChunkFile(rings, coChunkRingList, coTargetRingList::ReadRings);
            coTargetRingList::BuildSupports();
            shown = !coaster.Failed() && PlaceProps(props) && RideAndCheck(coaster, seconds, picture);
        } catch (const envExceptionX& exception) {
            std::fprintf(stderr, "rdemo: the park does not load (error 0x%08X)\n", exception.GetCode());
        }
        coRideClear();
        coSetRideCarScene(nullptr);
        coPropList::DeleteAll();
        coPropTemplateList::DeleteAll();
        coTargetRingList::Clear();
        coGetEnvironment().Clear();
        scLensFlarePackageStop();
    }
    coSetThemeName("");
    return shown ? picture : std::vector<u32>{};
}
