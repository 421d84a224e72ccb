#include "Engine/Graphics/G3d/g3dUVATexture.h"

#include "Engine/Graphics/An/an2StateAnimation.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr f32 kDefaultRate = 24.0f;
} // namespace

g3dUVATexture::g3dUVATexture() {
    RebuildAnimation();
}

g3dUVATexture::~g3dUVATexture() = default;

void g3dUVATexture::RebuildAnimation() {
    m_animation = std::make_unique<an2StateAnimation<float>>();
    m_animation->SetStates(0.0f, static_cast<f32>(m_frameCount));
    m_animation->SetDuration(static_cast<f32>(m_frameCount) / m_framesPerSecond);
    m_animation->SetLooping(m_loop);
    m_animation->SetPingPong(m_pingPong);
}

void g3dUVATexture::SetFrameCount(i32 count) {
    m_frameCount = std::max(count, 1);
    RebuildAnimation();
}

void g3dUVATexture::SetFramesPerSecond(f32 rate) {
    m_framesPerSecond = std::isfinite(rate) && rate > 0.0f ? rate : kDefaultRate;
    RebuildAnimation();
}

void g3dUVATexture::SetColumns(i32 columns) {
    m_columns = std::max(columns, 1);
}

void g3dUVATexture::SetRows(i32 rows) {
    m_rows = std::max(rows, 1);
}

void g3dUVATexture::SetLooping(bool on) {
    if (on == m_loop)
        return;
    m_loop = on;
    m_animation->SetLooping(on);
}

void g3dUVATexture::SetPingPong(bool on) {
    if (on == m_pingPong)
        return;
    m_pingPong = on;
    m_animation->SetPingPong(on);
}

void g3dUVATexture::AddPage(g3dTexture* page) {
    if (m_pages.empty()) {
        SetSize(page->GetWidth(), page->GetHeight());
        SetPixelFormat(page->GetPixelFormat());
    }
    m_pages.push_back(page);
}

i32 g3dUVATexture::GetFrameAt(f32 time) const {
    const f32 value = m_animation->Evaluate(time);
    // Truncated toward zero, then kept inside the frames (a time that is not a number gives 0).
    const i32 frame = value >= 0.0f && value < static_cast<f32>(m_frameCount) ? static_cast<i32>(value)
                      : value >= static_cast<f32>(m_frameCount)               ? m_frameCount - 1
                                                                              : 0;
    return frame;
}

g3dTexture* g3dUVATexture::GetPageOfFrame(i32 frame) const {
    if (m_pages.empty())
        return nullptr;
    const i64 page = std::max(frame, 0) / (i64{m_columns} * m_rows);
    return m_pages[static_cast<size_t>(std::min<i64>(page, GetPageCount() - 1))];
}

void g3dUVATexture::GetCellOffset(i32 frame, f32& u, f32& v) const {
    const i64 cell = std::max(frame, 0) % (i64{m_columns} * m_rows);
    const i64 row = cell / m_columns;
    u = static_cast<f32>(cell - m_columns * row) / static_cast<f32>(m_columns);
    v = static_cast<f32>(row) / static_cast<f32>(m_rows);
}
