#pragma once
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coScreenCapture.h"

class plD3dDevice;
class scObject;

// Draws the coaster for its thumbnail into the back buffer, without the GUI: the camera stands where
// coChooseThumbnailCamera puts it for the track's box in the park and looks at the box's centre. The world
// objects are attached (textured) for the draw and detached again unless "Texture In Build" is set.
void coRenderCoasterThumbnail();
// Draws the coaster and writes its 160 x 120 thumbnail bitmap through the target.
void coWriteCoasterThumbnail(const coBmpTarget& target, plD3dDevice& device);
// The builder's selection marker, which the thumbnail leaves out as it leaves out the GUI; not owned,
// null while there is none.
void coSetThumbnailHiddenMarker(scObject* marker);

// The saved coaster's services of the running game: the coaster's loading dock is the world's, and every
// binary save of a circuit carries the thumbnail of the display's device (none without a display).
class coGameCoasterServices : public coSavedCoasterServices {
  public:
    bool GetDock(maVector3d& position, float& heading, std::string& type) const override;
    void LoadDock(const std::string& type) override;
    void PlaceDock(const maVector3d& position, float heading) override;
    void AttachTrackToDock() override;
    void WriteThumbnail(chWriter& writer) const override;
};
