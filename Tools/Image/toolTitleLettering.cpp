#include "Tools/Image/toolTitleLettering.h"

#include "Engine/Platform/Graphics/plFontRasterizer.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

void toolLetterTitle(toolImage& image, plFontRasterizer& fonts, std::u16string_view text,
                     const toolTitleLook& look, int left, int right, int top, u8 (*level)(float)) {
    const plFontHandle font = fonts.CreateFont("DejaVu Sans", look.cell);
    u32 width = 0, height = 0;
    if (!font || !fonts.MeasureText(font, text, width, height))
        throw std::runtime_error("no font to letter a title with");
    const u32 columns = static_cast<u32>(image.width), rows = static_cast<u32>(image.height);
    const size_t pixels = static_cast<size_t>(columns) * rows;
    std::vector<u32> face(pixels, 0), pass(pixels);
    const i32 x = left + (right - left - static_cast<i32>(width) - look.weight) / 2;
    for (i32 dx = 0; dx < look.weight; ++dx) {
        fonts.DrawText(font, text, x + dx, top, pass.data(), columns, rows);
        for (size_t i = 0; i < pixels; ++i)
            face[i] = std::max(face[i], pass[i] & 0xFF);
    }
    fonts.DeleteFont(font);
    const size_t shadowOffset = static_cast<size_t>(look.shadow) * columns + static_cast<size_t>(look.shadow);
    for (int py = 0; py < image.height; ++py)
        for (int px = 0; px < image.width; ++px) {
            const size_t at = static_cast<size_t>(py) * columns + static_cast<size_t>(px);
            const bool shaded = py >= look.shadow && px >= look.shadow;
            const float dark =
                shaded ? look.darkness * static_cast<float>(face[at - shadowOffset]) / 255.0f : 0.0f;
            const float light = static_cast<float>(face[at]) / 255.0f;
            for (size_t c = 0; c < 3; ++c) {
                u8& value = image.pixels[at * 3 + c];
                const float under = static_cast<float>(value) * (1.0f - dark);
                value = level(under + (look.colour[c] - under) * light);
            }
        }
}
