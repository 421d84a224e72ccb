#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <memory>

class g3dFragment;
class g3dMaterial;
class scSimpleMovableObject;

// The builder's selection marker: a translucent sphere pulsing between two tints, drawn around the
// selected piece or object. Its sphere holds device buffers, so it exists only while the builder shows it;
// the saved coaster's thumbnail leaves it out.
class coSelectionMarker {
  public:
    coSelectionMarker();
    ~coSelectionMarker();
    coSelectionMarker(const coSelectionMarker&) = delete;
    coSelectionMarker& operator=(const coSelectionMarker&) = delete;

    // Makes the sphere on the first showing and places it; false hides it.
    void Show(bool shown, const maVector3d& position, const maVector3d& scale);
    // The sphere and its object go.
    void Free();

  private:
    std::unique_ptr<g3dMaterial> m_material;
    g3dFragment* m_fragment = nullptr;
    std::unique_ptr<scSimpleMovableObject> m_object;
};
