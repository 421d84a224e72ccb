#pragma once
#include "Engine/Graphics/G3d/g3dARGBColor.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Scene/coObject.h"

#include <memory>

class g3dFragment;
class scSimpleMovableObject;

// A pickable coloured sphere of radius 2 marking a point, (0, 50, 0) until moved.
class coSpotObject : public coObject {
  public:
    static constexpr f32 kRadius = 2.0f;

    coSpotObject();
    ~coSpotObject() override;

    void SetPosition(const maVector3d& position);
    const maVector3d& GetPosition() const;
    // Diffuse the colour, ambient half of it, alpha included.
    void SetColor(const g3dARGBColor& color);
    const g3dMaterial& GetMaterial() const { return m_material; }

    // The segment from origin along direction comes within the radius of the centre.
    bool RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const override;
    // The cube around the sphere.
    maBoundingBox GetBoundingBox() const override;

  private:
    g3dMaterial m_material;
    g3dFragment* m_sphere = nullptr;
    std::unique_ptr<scSimpleMovableObject> m_object;
};
