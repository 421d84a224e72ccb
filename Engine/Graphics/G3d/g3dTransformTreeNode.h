#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"

#include <memory>
#include <string>
#include <vector>

class g3dFragment;

// A node of a transform tree: a local matrix (from this node's frame to its parent's, row vectors), a
// name and owned children in insertion order. Deleting a node deletes its subtree. Models, skeletons
// and scene objects' shapes are such trees.
class g3dTransformTreeNode {
  public:
    g3dTransformTreeNode() = default;
    virtual ~g3dTransformTreeNode();
    g3dTransformTreeNode(const g3dTransformTreeNode&) = delete;
    g3dTransformTreeNode& operator=(const g3dTransformTreeNode&) = delete;

    // A node of this node's class with a copy of its own data (matrix, name, fragment) and no children.
    virtual std::unique_ptr<g3dTransformTreeNode> Clone() const;

    u32 GetChildCount() const { return static_cast<u32>(m_children.size()); }
    g3dTransformTreeNode* GetChild(u32 index) const { return m_children[index].get(); }
    g3dTransformTreeNode* GetParent() const { return m_parent; }
    // Appends the node and becomes its parent.
    void AddChild(std::unique_ptr<g3dTransformTreeNode> node);
    // Takes the node out (the later children move down) and hands it back without a parent; null when
    // it is not a child.
    std::unique_ptr<g3dTransformTreeNode> RemoveChild(g3dTransformTreeNode* node);

    // Null when the name is empty.
    const char* GetName() const { return m_name.empty() ? nullptr : m_name.c_str(); }
    // Null makes the name empty.
    void SetName(const char* text) { m_name = text ? text : ""; }

    maMatrix4d& GetLocalMatrix() { return m_local; }
    const maMatrix4d& GetLocalMatrix() const { return m_local; }
    // The local matrix times every ancestor's, up to and with the root's.
    void GetWorldMatrix(maMatrix4d& out) const;

    // The first node in pre-order (this node, then each child's subtree in order) whose name is the
    // text exactly; an empty or null text finds the first unnamed node.
    g3dTransformTreeNode* FindByName(const char* text);
    // A deep copy by Clone: fragment nodes stay fragment nodes on the same fragments.
    std::unique_ptr<g3dTransformTreeNode> CloneTree() const;
    // A tree of plain nodes of the same shape and local matrices, without names or fragments.
    std::unique_ptr<g3dTransformTreeNode> CopyStructure() const;
    // Takes the local matrices of a tree of the same shape, node by node; children the other tree
    // lacks keep theirs.
    void CopyMatricesFrom(const g3dTransformTreeNode& other);

  protected:
    // The matrix and the name, for a subclass's Clone.
    void CopyOwnData(const g3dTransformTreeNode& other);

  private:
    g3dTransformTreeNode* m_parent = nullptr;
    std::vector<std::unique_ptr<g3dTransformTreeNode>> m_children;
    maMatrix4d m_local;
    std::string m_name;
};

// A node that draws a fragment with the product of the matrices on its path. The fragment belongs to
// whoever loaded it (a model), never to the node.
class g3dHFragment : public g3dTransformTreeNode {
  public:
    explicit g3dHFragment(g3dFragment* fragment = nullptr) : m_fragment(fragment) {}

    std::unique_ptr<g3dTransformTreeNode> Clone() const override;

    g3dFragment* GetFragment() const { return m_fragment; }
    void SetFragment(g3dFragment* fragment) { m_fragment = fragment; }
    // Whether this node's fragment, or any below, has a transparent material.
    bool HasTransparentMaterial() const;

  private:
    g3dFragment* m_fragment;
};

// Whether the node is a fragment node whose fragment has a transparent material, or a descendant is.
bool g3dHasTransparentMaterial(const g3dTransformTreeNode& node);
