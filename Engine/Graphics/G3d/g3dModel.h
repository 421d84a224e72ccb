#pragma once
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"

#include <memory>

class g3dFragment;
class g3dTransformTreeNode;

// What a render list holds: something to draw and the matrix to draw it with. Hidden until its owner
// shows it; the renderer skips hidden models.
class g3dModel {
  public:
    virtual ~g3dModel() = 0;

    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

  private:
    bool m_visible = false;
};

// A fragment already in world coordinates, drawn with the identity. The fragment is not owned.
class g3dWorldStaticModel : public g3dModel {
  public:
    explicit g3dWorldStaticModel(g3dFragment* fragment) : m_fragment(fragment) {}
    g3dFragment* GetFragment() const { return m_fragment; }

  private:
    g3dFragment* m_fragment;
};

// A fragment drawn with a fixed world matrix, copied here. The fragment is not owned.
class g3dStaticModel : public g3dModel {
  public:
    g3dStaticModel(const maMatrix4d& world, g3dFragment* fragment) : m_fragment(fragment), m_world(world) {}
    g3dFragment* GetFragment() const { return m_fragment; }
    const maMatrix4d& GetWorldMatrix() const { return m_world; }

  private:
    g3dFragment* m_fragment;
    maMatrix4d m_world;
};

// An owned transform tree, posed every frame. Deleting the model deletes the tree, never its fragments.
class g3dDynamicModel : public g3dModel {
  public:
    g3dDynamicModel();
    ~g3dDynamicModel() override;

    // Deletes the tree held, then holds this one (or none).
    void SetNode(std::unique_ptr<g3dTransformTreeNode> node);
    g3dTransformTreeNode* GetNode() const { return m_node.get(); }

  private:
    std::unique_ptr<g3dTransformTreeNode> m_node;
};

// The head of every particle record: what the renderer reads to draw it as a square facing the camera.
// The records belong to their particle generator, which links them.
struct g3dSprite {
    g3dSprite* next = nullptr;
    g3dSprite* previous = nullptr;
    maVector3d position;
    f32 rotation = 0.0f; // radians about the camera's view axis
    f32 alpha = -1.0f;   // -1: the material's diffuse alpha
    f32 size = 1.0f;     // half the edge of the square
    i32 frame = -1;      // frame of an animated texture; -1: the texture's own clock
};

// A particle generator's sprites, drawn with one material whose stage 0 texture is the sprite texture.
// Normal blending draws over what is behind; without it the sprites add their light.
class g3dSpriteGroupModel : public g3dModel {
  public:
    g3dSprite* GetFirstSprite() const { return m_first; }
    void SetFirstSprite(g3dSprite* sprite) { m_first = sprite; }
    g3dMaterial& GetMaterial() { return m_material; }
    const g3dMaterial& GetMaterial() const { return m_material; }
    const maVector3d& GetPosition() const { return m_position; }
    void SetPosition(const maVector3d& position) { m_position = position; }
    bool IsNormalBlending() const { return m_normalBlending; }
    void SetNormalBlending(bool on) { m_normalBlending = on; }

  private:
    g3dSprite* m_first = nullptr;
    g3dMaterial m_material;
    maVector3d m_position;
    bool m_normalBlending = true;
};
