#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"

#include <algorithm>

namespace {

bool FragmentIsTransparent(const g3dFragment* fragment) {
    if (!fragment)
        return false;
    for (u32 i = 0; i < fragment->GetMaterialCount(); ++i)
        if (const g3dMaterial* material = fragment->GetMaterial(i); material && material->IsTransparent())
            return true;
    return false;
}

bool ChildrenAreTransparent(const g3dTransformTreeNode& node) {
    for (u32 i = 0; i < node.GetChildCount(); ++i)
        if (g3dHasTransparentMaterial(*node.GetChild(i)))
            return true;
    return false;
}

} // namespace

g3dTransformTreeNode::~g3dTransformTreeNode() = default;

std::unique_ptr<g3dTransformTreeNode> g3dTransformTreeNode::Clone() const {
    auto clone = std::make_unique<g3dTransformTreeNode>();
    clone->CopyOwnData(*this);
    return clone;
}

void g3dTransformTreeNode::CopyOwnData(const g3dTransformTreeNode& other) {
    m_local = other.m_local;
    m_name = other.m_name;
}

void g3dTransformTreeNode::AddChild(std::unique_ptr<g3dTransformTreeNode> node) {
    node->m_parent = this;
    m_children.push_back(std::move(node));
}

std::unique_ptr<g3dTransformTreeNode> g3dTransformTreeNode::RemoveChild(g3dTransformTreeNode* node) {
    const auto found = std::find_if(m_children.begin(), m_children.end(),
                                    [node](const auto& child) { return child.get() == node; });
    if (found == m_children.end())
        return nullptr;
    std::unique_ptr<g3dTransformTreeNode> removed = std::move(*found);
    m_children.erase(found);
    removed->m_parent = nullptr;
    return removed;
}

void g3dTransformTreeNode::GetWorldMatrix(maMatrix4d& out) const {
    out = m_local;
    for (const g3dTransformTreeNode* p = m_parent; p; p = p->m_parent)
        out *= p->m_local;
}

g3dTransformTreeNode* g3dTransformTreeNode::FindByName(const char* text) {
    if (m_name == (text ? text : ""))
        return this;
    for (const auto& child : m_children)
        if (g3dTransformTreeNode* found = child->FindByName(text))
            return found;
    return nullptr;
}

std::unique_ptr<g3dTransformTreeNode> g3dTransformTreeNode::CloneTree() const {
    std::unique_ptr<g3dTransformTreeNode> clone = Clone();
    for (const auto& child : m_children)
        clone->AddChild(child->CloneTree());
    return clone;
}

std::unique_ptr<g3dTransformTreeNode> g3dTransformTreeNode::CopyStructure() const {
    auto copy = std::make_unique<g3dTransformTreeNode>();
    copy->m_local = m_local;
    for (const auto& child : m_children)
        copy->AddChild(child->CopyStructure());
    return copy;
}

void g3dTransformTreeNode::CopyMatricesFrom(const g3dTransformTreeNode& other) {
    m_local = other.m_local;
    const size_t shared = std::min(m_children.size(), other.m_children.size());
    for (size_t i = 0; i < shared; ++i)
        m_children[i]->CopyMatricesFrom(*other.m_children[i]);
}

std::unique_ptr<g3dTransformTreeNode> g3dHFragment::Clone() const {
    auto clone = std::make_unique<g3dHFragment>(m_fragment);
    clone->CopyOwnData(*this);
    return clone;
}

bool g3dHFragment::HasTransparentMaterial() const {
    return FragmentIsTransparent(m_fragment) || ChildrenAreTransparent(*this);
}

bool g3dHasTransparentMaterial(const g3dTransformTreeNode& node) {
    if (const auto* fragmentNode = dynamic_cast<const g3dHFragment*>(&node))
        return fragmentNode->HasTransparentMaterial();
    return ChildrenAreTransparent(node);
}
