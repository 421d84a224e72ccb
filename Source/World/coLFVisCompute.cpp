#include "Source/World/coLFVisCompute.h"

#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coParkWorld.h"

namespace {

coDockSegmentTest& DockTest() {
    static coDockSegmentTest test;
    return test;
}

} // namespace

void coSetDockSegmentTest(coDockSegmentTest test) {
    DockTest() = std::move(test);
}

bool coLFVisCompute::IsVisible(const scLensFlare& flare) {
    if (!coPrefs::GetBool(kPrefLensFlare))
        return false;
    if (!m_camera)
        return true;
    const maVector3d& source = flare.GetSourcePosition();
    const maVector3d& eye = *m_camera->GetPosition();
    if (DockTest() && DockTest()(source, eye))
        return false;
    maVector3d hit;
    return !coGetParkWorld().IntersectSegment(source, eye, hit);
}
