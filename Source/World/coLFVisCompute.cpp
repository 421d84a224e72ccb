#include "Source/World/coLFVisCompute.h"

#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coParkWorld.h"
#include "Source/World/coLoadingDock.h"

bool coLFVisCompute::IsVisible(const scLensFlare& flare) {
    if (!coPrefs::GetBool(coPrefLensFlare))
        return false;
    if (!m_camera)
        return true;
    const maVector3d& source = flare.GetSourcePosition();
    const maVector3d& eye = *m_camera->GetPosition();
    geoKDTreeHit dockHit;
    if (coDockIntersectSegment(source, eye, dockHit))
        return false;
    maVector3d hit;
    return !coGetParkWorld().IntersectSegment(source, eye, hit);
}
