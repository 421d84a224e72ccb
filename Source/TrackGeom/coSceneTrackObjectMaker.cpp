#include "Source/TrackGeom/coSceneTrackObjectMaker.h"

#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Engine/Graphics/Sc/scStaticObject.h"

std::unique_ptr<scObject> coSceneTrackObjectMaker::Make(coTrackObjectKind kind, g3dFragment* fragment,
                                                        int renderList,
                                                        const coTrackObjectPlacement& placement) {
    if (!fragment || renderList < 0)
        return nullptr;
    const u32 list = static_cast<u32>(renderList);
    std::unique_ptr<scObject> object;
    switch (kind) {
    case coTrackObjectKind::Static:
        object = std::make_unique<scStaticObject>(fragment, list);
        break;
    case coTrackObjectKind::Placed:
        object = std::make_unique<scStaticObject>(placement.position, placement.rotation, placement.scale,
                                                  fragment, list);
        break;
    case coTrackObjectKind::Movable: {
        auto movable = std::make_unique<scSimpleMovableObject>(fragment, list);
        movable->SetScale(placement.scale);
        movable->SetPositionRotation(placement.position, placement.rotation);
        object = std::move(movable);
        break;
    }
    }
    scAddToUpdateList(object.get());
    return object;
}
