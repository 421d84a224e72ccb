// The "ride" scene: the train of the built content's default theme riding R1 for the given seconds, its
// cars placed where the train's physics puts them, drawn with the track. The check: the pixels at the
// lead car's projected centre differ from the same frame with the cars hidden.
#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideCars.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuit.h"
#include "rdemo.h"
#include "rdemoCoaster.h"

#include <cstdio>

namespace {

constexpr int kCarsPerTrain = 4;
constexpr f32 kStep = 1.0f / 30.0f;

// The cars on the track after the ride has run for the seconds; the track alone as the reference.
bool CarsShow(DemoCoaster& coaster, const coRideCars& cars, f32 seconds, std::vector<u32>& picture) {
    coRideStart(kCarsPerTrain, true, 1);
    if (coGetCarCount() != kCarsPerTrain) {
        std::fprintf(stderr, "rdemo: %d cars built of %d\n", coGetCarCount(), kCarsPerTrain);
        return false;
    }
    coRideLaunchTrain(0);
    for (f32 time = 0.0f; time < seconds; time += kStep) {
        appClock::SetTime(time, kStep);
        coRideUpdate(*coaster.Camera().GetPosition());
    }
    picture = coaster.Frame();
    const maVector3d lead = cars.GetCars().front()->GetBoundingBox().GetCenter();
    coSetCarsVisible(false);
    const std::vector<u32> trackOnly = coaster.Frame();
    const u32 withCar = DemoPixelOf(picture, lead), without = DemoPixelOf(trackOnly, lead);
    if ((withCar & 0xFFFFFF) == (without & 0xFFFFFF)) {
        std::fprintf(stderr, "rdemo: nothing drawn at the lead car (%06x)\n", withCar & 0xFFFFFF);
        return false;
    }
    return true;
}

} // namespace

std::vector<u32> DrawRideScene(const std::string& type, f32 seconds) {
    fsAddRootDirectory(coRootThemes, DemoInData("Themes"));
    fsAddRootDirectory(coRootEffects, DemoInData("Data/Effects"));
    coSetThemeName("Ironvale");
    std::vector<u32> picture;
    bool shown = false;
    {
        DemoCoaster coaster(type, -1, true, DemoLayR1, 4);
        coRideCars cars([] { coReportCurrentException(); });
        coSetRideCarScene(&cars);
        shown = !coaster.Failed() && CarsShow(coaster, cars, seconds, picture);
        coRideClear();
        coSetRideCarScene(nullptr);
    }
    coSetThemeName("");
    fsResetRootTable();
    return shown ? picture : std::vector<u32>{};
}
