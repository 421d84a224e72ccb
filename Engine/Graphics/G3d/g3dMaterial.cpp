#include "Engine/Graphics/G3d/g3dMaterial.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Engine/Graphics/G3d/g3dTexture.h"

#include <algorithm>
#include <cmath>

bool g3dTextureStage::IsTransparent() const {
    return mode == 1 || (texture && texture->GetPixelFormat().alphaBits != 0);
}

g3dMaterial::g3dMaterial() {
    UpdateFlags();
    m_flags &= static_cast<u8>(~kSpecular);
}

g3dMaterial::g3dMaterial(const g3dMaterial& other) {
    *this = other;
}

g3dMaterial& g3dMaterial::operator=(const g3dMaterial& other) {
    m_flags = other.m_flags;
    m_ambient = other.m_ambient;
    m_diffuse = other.m_diffuse;
    m_specular = other.m_specular;
    m_emissive = other.m_emissive;
    m_stages = other.m_stages;
    m_specularPower = other.m_specularPower;
    return *this;
}

g3dMaterial::~g3dMaterial() = default;

const g3dARGBColor* g3dMaterial::SetAmbient(const g3dARGBColor& color) {
    m_ambient = color;
    return &m_ambient;
}

void g3dMaterial::SetDiffuse(const g3dARGBColor& color) {
    m_diffuse = color;
    UpdateFlags();
}

void g3dMaterial::SetSpecular(const g3dARGBColor& color) {
    m_specular = color;
    m_flags |= kSpecular;
}

void g3dMaterial::SetEmissive(const g3dARGBColor& color) {
    m_emissive = color;
    UpdateFlags();
}

void g3dMaterial::SetSpecularEnable(bool on) {
    m_flags = on ? static_cast<u8>(m_flags | kSpecular) : static_cast<u8>(m_flags & ~kSpecular);
}

void g3dMaterial::SetSpecularPower(float power) {
    m_specularPower = power;
}

void g3dMaterial::AddTextureStage(g3dTexture* texture, u32 mode) {
    m_stages.emplace_back(texture).mode = mode;
    UpdateFlags();
}

void g3dMaterial::RemoveTextureStage(u32 index) {
    if (index >= m_stages.size()) {
        DBG_WARNING("No texture stage %u to remove; the material has %zu", index, m_stages.size());
        return;
    }
    m_stages.erase(m_stages.begin() + index);
    UpdateFlags();
}

void g3dMaterial::ClearTextureStages() {
    m_stages.clear();
    UpdateFlags();
}

g3dTextureStage* g3dMaterial::FindStage(u32 stage) {
    if (stage < m_stages.size())
        return &m_stages[stage];
    DBG_WARNING("No texture stage %u to transform; the material has %zu", stage, m_stages.size());
    return nullptr;
}

void g3dMaterial::SetStageOffset(const maVector2d& offset, u32 stage) {
    if (g3dTextureStage* found = FindStage(stage)) {
        found->offset = offset;
        found->transformed = true;
    }
}

void g3dMaterial::SetStageScale(const maVector2d& scale, u32 stage) {
    if (g3dTextureStage* found = FindStage(stage)) {
        found->scale = scale;
        found->transformed = true;
    }
}

void g3dMaterial::SetStageRotation(float angle, u32 stage) {
    if (g3dTextureStage* found = FindStage(stage)) {
        found->rotation = angle;
        found->transformed = true;
    }
}

void g3dMaterial::GetStageTransform(maMatrix3d& out, u32 stage) const {
    out.SetIdentity();
    if (stage >= m_stages.size() || !m_stages[stage].transformed)
        return;
    const g3dTextureStage& s = m_stages[stage];
    const float c = std::cos(s.rotation);
    const float sn = std::sin(s.rotation);
    const float ox = s.offset.x, oy = s.offset.y, sx = s.scale.x, sy = s.scale.y;
    // The last row's second element adds s x ox x sx; content is made for the matrix as it stands.
    out = maMatrix3d(c * sx, -sn * sx, 0.0f, sn * sy, c * sy, 0.0f, sy * oy * sn + c * ox * sx,
                     sy * oy * c + sn * ox * sx, 1.0f);
}

u32 g3dMaterial::AddAnimation(std::unique_ptr<g3dMaterialAnimation> binding) {
    m_animations.push_back(std::move(binding));
    return GetAnimationCount();
}

void g3dMaterial::DeleteAnimations() {
    m_animations.clear();
}

void g3dMaterial::UpdateFlags() {
    bool transparent = false;
    if (m_diffuse.a != 1.0f)
        transparent = true;
    else if (!m_stages.empty())
        transparent = std::all_of(m_stages.begin(), m_stages.end(),
                                  [](const g3dTextureStage& stage) { return stage.IsTransparent(); });
    m_flags =
        transparent ? static_cast<u8>(m_flags | kTransparent) : static_cast<u8>(m_flags & ~kTransparent);
}
