#pragma once
#include "Engine/Graphics/G3d/g3dTexture.h"

#include <memory>
#include <vector>

template <class T> class an2StateAnimation;

// A flip-book: frames laid out as cells of a grid on one or more texture pages, played at a frame rate,
// looping or once, optionally back and forth. Frame f lies on page f / (columns x rows), in cell
// f mod (columns x rows), counted across and then down. Its size and layout are its first page's; it
// has no device texture of its own. The pages are the texture manager's plain textures.
class g3dUVATexture : public g3dTexture {
  public:
    g3dUVATexture();
    ~g3dUVATexture() override;

    // Counts below 1 become 1; a rate not above 0 or not finite becomes the default, 24.
    void SetFrameCount(i32 count);
    void SetFramesPerSecond(f32 rate);
    void SetColumns(i32 columns);
    void SetRows(i32 rows);
    void SetLooping(bool on);
    void SetPingPong(bool on);
    // The first page also gives the flip-book its size and layout.
    void AddPage(g3dTexture* page);

    i32 GetFrameCount() const { return m_frameCount; }
    f32 GetFramesPerSecond() const { return m_framesPerSecond; }
    i32 GetColumns() const { return m_columns; }
    i32 GetRows() const { return m_rows; }
    bool IsLooping() const { return m_loop; }
    i32 GetPageCount() const { return static_cast<i32>(m_pages.size()); }
    g3dTexture* GetPage(i32 index) const { return m_pages[static_cast<size_t>(index)]; }

    // The frame shown at the time, from 0 to the frame count - 1.
    i32 GetFrameAt(f32 time) const;
    // The frame's page; a frame past the last page takes the last; null without pages.
    g3dTexture* GetPageOfFrame(i32 frame) const;
    // The top-left corner of the frame's cell in texture coordinates.
    void GetCellOffset(i32 frame, f32& u, f32& v) const;
    f32 GetCellWidth() const { return 1.0f / static_cast<f32>(m_columns); }
    f32 GetCellHeight() const { return 1.0f / static_cast<f32>(m_rows); }

  private:
    // From 0 to the frame count over the frame count / the rate, with the flags.
    void RebuildAnimation();

    std::vector<g3dTexture*> m_pages;
    i32 m_columns = 1;
    i32 m_rows = 1;
    i32 m_frameCount = 1;
    f32 m_framesPerSecond = 24.0f;
    bool m_loop = true;
    bool m_pingPong = false;
    std::unique_ptr<an2StateAnimation<float>> m_animation;
};
