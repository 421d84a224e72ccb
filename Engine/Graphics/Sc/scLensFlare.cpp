#include "Engine/Graphics/Sc/scLensFlare.h"

#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

#include <algorithm>
#include <cstring>

namespace {

struct State {
    std::vector<std::unique_ptr<scLensFlare>> flares;
    std::unique_ptr<scLFVisCompute> test;
    std::unique_ptr<g3dTextureLoader> loader;
};

State& S() {
    static State state;
    return state;
}

// 8 bits of a colour component, the nominal range clamped.
u32 Channel(f32 value) {
    return static_cast<u32>(std::clamp(value, 0.0f, 1.0f) * 255.0f);
}

} // namespace

scLensFlareElement::scLensFlareElement(u32 renderList) {
    m_material.SetDiffuse({1, 1, 1, 1});
    m_material.SetSpecular({0, 0, 0, 0});
    const f32 positions[16] = {0, 0, 0, 1, 64, 0, 0, 1, 64, 64, 0, 1, 0, 64, 0, 1};
    const maVector2d uvs[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const u16 indices[6] = {0, 3, 2, 0, 2, 1};
    m_fragment = g3dFragmentManager::CreateScreenFragment(positions, uvs, 4, indices, 6, &m_material);
    m_model = g3dRenderer::AddNode(g3dHFragment(m_fragment), renderList);
    m_model->SetVisible(true);
}

scLensFlareElement::~scLensFlareElement() {
    g3dRenderer::RemoveModel(m_model);
    g3dFragmentManager::DestroyFragment(m_fragment);
    ReleaseTexture();
}

void scLensFlareElement::SetTexture(const envString& name) {
    // Cleared before the loader is asked, so a throwing loader leaves nothing to release twice.
    ReleaseTexture();
    if (g3dTextureLoader* loader = scGetLensFlareTextureLoader())
        m_texture = loader->GetTexture(name);
    if (m_texture)
        m_material.AddTextureStage(m_texture, 0);
}

void scLensFlareElement::ReleaseTexture() {
    if (!m_texture)
        return;
    if (g3dTextureLoader* loader = scGetLensFlareTextureLoader())
        loader->ReleaseTexture(m_texture);
    m_texture = nullptr;
    m_material.ClearTextureStages();
}

void scLensFlareElement::SetShown(bool shown) {
    m_model->SetVisible(shown);
}

bool scLensFlareElement::IsShown() const {
    return m_model->IsVisible();
}

void scLensFlareElement::Place(i32 x, i32 y, i32 size) {
    m_centreX = static_cast<f32>(x);
    m_centreY = static_cast<f32>(y);
    m_width = size;
    m_height = size;
    RebuildQuad();
}

void scLensFlareElement::RebuildQuad() {
    if (!m_fragment)
        return;
    const f32 w = static_cast<f32>(m_width / 2), h = static_cast<f32>(m_height / 2);
    const f32 x = m_centreX, y = m_centreY;
    const f32 corners[4][2] = {
        {x - w, y - h}, {x + w - 1, y - h}, {x + w - 1, y + h - 1}, {x - w, y + h - 1}};
    const g3dARGBColor& c = m_material.GetDiffuse();
    const u32 diffuse = Channel(c.a) << 24 | Channel(c.r) << 16 | Channel(c.g) << 8 | Channel(c.b);
    u8* vertices = m_fragment->GetVertices();
    for (size_t i = 0; i < 4; ++i) {
        g3dScreenVertex vertex;
        std::memcpy(&vertex, vertices + i * sizeof vertex, sizeof vertex);
        vertex.x = corners[i][0];
        vertex.y = corners[i][1];
        vertex.z = 0.0f;
        vertex.rhw = 1.0f;
        vertex.diffuse = diffuse;
        std::memcpy(vertices + i * sizeof vertex, &vertex, sizeof vertex);
    }
    m_fragment->CommitVertices();
}

void scLensFlare::AddElement(std::unique_ptr<scLensFlareElement> element) {
    m_elements.push_back(std::move(element));
}

void scLensFlare::ShowElements(bool shown) {
    for (const auto& element : m_elements)
        element->SetShown(shown);
}

void scLensFlare::Update(i32 screenWidth, i32 screenHeight) {
    if (!IsEnabled())
        return;
    f32 screen[4];
    g3dRenderer::ProjectToScreen(m_sourcePosition, screen);
    const f32 width = static_cast<f32>(screenWidth), height = static_cast<f32>(screenHeight);
    // Behind the eye, or off the screen once truncated toward zero. The test is made in float: a
    // source far to the side projects past what an int holds.
    const bool onScreen =
        screen[0] > -1.0f && screen[0] < width + 1.0f && screen[1] > -1.0f && screen[1] < height + 1.0f;
    if (screen[3] < 0.0f || screen[2] < 0.0f || !onScreen || !IsVisible()) {
        ShowElements(false);
        return;
    }
    const i32 sx = static_cast<i32>(screen[0]), sy = static_cast<i32>(screen[1]);
    ShowElements(true);
    const i32 maxSize = static_cast<i32>(width * m_maximumSize);
    const i32 scale = static_cast<i32>(width * m_sizeScale);
    const i32 oppositeX = (screenWidth & ~1) - sx, oppositeY = (screenHeight & ~1) - sy;
    for (const auto& element : m_elements) {
        const f32 t = element->GetAxisPosition();
        const i32 ex = static_cast<i32>((1.0f - t) * static_cast<f32>(sx) + t * static_cast<f32>(oppositeX));
        const i32 ey = static_cast<i32>((1.0f - t) * static_cast<f32>(sy) + t * static_cast<f32>(oppositeY));
        const i32 size = std::min(static_cast<i32>(static_cast<f32>(scale) * element->GetSize()), maxSize);
        g3dARGBColor diffuse = element->GetMaterial().GetDiffuse();
        diffuse.a = 1.0f;
        element->GetMaterial().SetDiffuse(diffuse);
        element->Place(ex, ey, size);
    }
}

void scLensFlarePackageStart() {
    S().test = std::make_unique<scLFVisCompute>();
}

void scLensFlarePackageStop() {
    scDeleteAllLensFlares();
    S().test.reset();
    S().loader.reset();
}

void scSetLFVisCompute(std::unique_ptr<scLFVisCompute> test) {
    S().test = std::move(test);
}

scLFVisCompute* scLFGetVisCompute() {
    return S().test.get();
}

void scSetLensFlareTextureLoader(std::unique_ptr<g3dTextureLoader> loader) {
    for (const auto& flare : S().flares)
        for (const auto& element : flare->GetElements())
            element->ReleaseTexture();
    S().loader = std::move(loader);
}

g3dTextureLoader* scGetLensFlareTextureLoader() {
    return S().loader.get();
}

void scAddLensFlare(std::unique_ptr<scLensFlare> flare) {
    S().flares.push_back(std::move(flare));
}

const std::vector<std::unique_ptr<scLensFlare>>& scGetLensFlares() {
    return S().flares;
}

void scDeleteAllLensFlares() {
    S().flares.clear();
}

void scUpdateLensFlares() {
    i32 width = 0, height = 0;
    g2dScreen::GetSize(width, height);
    for (const auto& flare : S().flares) {
        flare->SetVisible(!S().test || S().test->IsVisible(*flare));
        flare->Update(width, height);
    }
}
