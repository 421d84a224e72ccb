#include "Engine/Graphics/G3d/g3dModel.h"

#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

g3dModel::~g3dModel() = default;

g3dDynamicModel::g3dDynamicModel() = default;

g3dDynamicModel::~g3dDynamicModel() = default;

void g3dDynamicModel::SetNode(std::unique_ptr<g3dTransformTreeNode> node) {
    m_node.reset();
    m_node = std::move(node);
}
