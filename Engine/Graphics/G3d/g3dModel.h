#pragma once
#include "Engine/Core/Ma/maMatrix.h"

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
