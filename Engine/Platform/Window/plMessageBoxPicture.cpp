#include "Engine/Platform/Window/plMessageBoxPicture.h"

#include "Engine/Core/Env/envBreakLine.h"

#include <algorithm>

namespace {

// Any sans face: fontconfig matches the generic name to what is installed.
constexpr const char* kFace = "Sans";
constexpr i32 kCaptionCell = 21;
constexpr i32 kTextCell = 17;
constexpr i32 kMargin = 16;
constexpr i32 kLineGap = 3;
constexpr u32 kWrapWidth = 520;
constexpr i32 kMinWidth = 320;
constexpr i32 kButtonMinWidth = 84;
constexpr i32 kButtonGap = 8;

constexpr u32 kBackground = 0xF4F4F4;
constexpr u32 kBand = 0x34465A;
constexpr u32 kCaptionInk = 0xFFFFFF;
constexpr u32 kInk = 0x1E1E1E;
constexpr u32 kButtonFace = 0xE2E2E2;
constexpr u32 kButtonEdge = 0x7A7A7A;
constexpr u32 kDefaultEdge = 0x2D6CC0;

u32 Blend(u32 under, u32 over, u32 coverage) {
    u32 out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const u32 a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        out |= ((a * (255 - coverage) + b * coverage + 127) / 255) << shift;
    }
    return out;
}

u32 Measure(plFontRasterizer& fonts, plFontHandle font, std::u16string_view text) {
    u32 width = 0, height = 0;
    fonts.MeasureText(font, text, width, height);
    return width;
}

// A font of the rasterizer for as long as the picture is made.
class Font {
  public:
    Font(plFontRasterizer& fonts, i32 cell) : m_fonts(fonts), m_handle(fonts.CreateFont(kFace, cell)) {}
    ~Font() {
        if (m_handle)
            m_fonts.DeleteFont(m_handle);
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    plFontHandle Get() const { return m_handle; }
    i32 Width(std::u16string_view text) const { return static_cast<i32>(Measure(m_fonts, m_handle, text)); }

  private:
    plFontRasterizer& m_fonts;
    plFontHandle m_handle;
};

} // namespace

std::vector<std::u16string> plWrapText(plFontRasterizer& fonts, plFontHandle font, std::u16string_view text,
                                       u32 width) {
    while (!text.empty() && (text.back() == u'\n' || text.back() == u' '))
        text.remove_suffix(1);
    std::vector<std::u16string> lines;
    if (text.empty())
        return lines;
    const auto fits = [&](std::u16string_view row) { return Measure(fonts, font, row) <= width; };
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(u'\n', start), text.size());
        for (std::u16string_view row : envBreakLine(text.substr(start, end - start), fits))
            lines.emplace_back(row);
        start = end + 1;
    }
    return lines;
}

plMessageBoxPicture::plMessageBoxPicture(plFontRasterizer& fonts, std::u16string_view caption,
                                         std::u16string_view text, const std::vector<plBoxButton>& buttons) {
    const Font captionFont(fonts, kCaptionCell);
    const Font textFont(fonts, kTextCell);
    if (!captionFont.Get() || !textFont.Get())
        return;
    const std::vector<std::u16string> lines = plWrapText(fonts, textFont.Get(), text, kWrapWidth);

    i32 contentWidth = captionFont.Width(caption);
    for (const std::u16string& line : lines)
        contentWidth = std::max(contentWidth, textFont.Width(line));
    const i32 buttonHeight = kTextCell + 12;
    std::vector<i32> buttonWidths;
    i32 rowWidth = 0;
    for (const plBoxButton& button : buttons) {
        buttonWidths.push_back(std::max(kButtonMinWidth, textFont.Width(button.label) + 28));
        rowWidth += buttonWidths.back() + (rowWidth ? kButtonGap : 0);
    }
    const i32 width = std::max({contentWidth, rowWidth, kMinWidth - 2 * kMargin}) + 2 * kMargin;
    const i32 bandHeight = kCaptionCell + 20;
    const i32 textTop = bandHeight + kMargin;
    const i32 textHeight = static_cast<i32>(lines.size()) * (kTextCell + kLineGap);
    const i32 buttonTop = textTop + textHeight + kMargin;
    m_width = static_cast<u32>(width);
    m_height = static_cast<u32>(buttonTop + buttonHeight + kMargin);
    m_pixels.assign(static_cast<size_t>(m_width) * m_height, kBackground);

    Fill({0, 0, width, bandHeight}, kBand);
    DrawLabel(fonts, captionFont.Get(), caption, kMargin, 10, kCaptionInk);
    for (size_t i = 0; i < lines.size(); ++i)
        DrawLabel(fonts, textFont.Get(), lines[i], kMargin,
                  textTop + static_cast<i32>(i) * (kTextCell + kLineGap), kInk);
    i32 x = width - kMargin - rowWidth;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const Rect rect{x, buttonTop, buttonWidths[i], buttonHeight};
        Fill(rect, kButtonFace);
        Frame(rect, i == 0 ? 2 : 1, i == 0 ? kDefaultEdge : kButtonEdge);
        DrawLabel(fonts, textFont.Get(), buttons[i].label,
                  x + (rect.width - textFont.Width(buttons[i].label)) / 2, buttonTop + 6, kInk);
        m_buttons.push_back({buttons[i].id, rect});
        x += rect.width + kButtonGap;
    }
}

i32 plMessageBoxPicture::ButtonAt(i32 x, i32 y) const {
    for (const Placed& button : m_buttons)
        if (x >= button.rect.x && x < button.rect.x + button.rect.width && y >= button.rect.y &&
            y < button.rect.y + button.rect.height)
            return button.id;
    return 0;
}

void plMessageBoxPicture::Fill(const Rect& rect, u32 colour) {
    for (i32 y = rect.y; y < rect.y + rect.height; ++y)
        std::fill_n(m_pixels.begin() + static_cast<std::ptrdiff_t>(y) * m_width + rect.x, rect.width, colour);
}

void plMessageBoxPicture::Frame(const Rect& rect, i32 thickness, u32 colour) {
    Fill({rect.x, rect.y, rect.width, thickness}, colour);
    Fill({rect.x, rect.y + rect.height - thickness, rect.width, thickness}, colour);
    Fill({rect.x, rect.y, thickness, rect.height}, colour);
    Fill({rect.x + rect.width - thickness, rect.y, thickness, rect.height}, colour);
}

void plMessageBoxPicture::DrawLabel(plFontRasterizer& fonts, plFontHandle font, std::u16string_view text,
                                    i32 x, i32 y, u32 colour) {
    u32 textWidth = 0, cellHeight = 0;
    fonts.MeasureText(font, text, textWidth, cellHeight);
    // Coverage first, with room for glyphs that reach past their advances.
    constexpr i32 kPad = 3;
    const u32 width = textWidth + 2 * kPad;
    std::vector<u32> coverage(static_cast<size_t>(width) * cellHeight, 0);
    fonts.DrawText(font, text, kPad, 0, coverage.data(), width, cellHeight);
    for (u32 row = 0; row < cellHeight; ++row)
        for (u32 column = 0; column < width; ++column) {
            const i32 px = x - kPad + static_cast<i32>(column), py = y + static_cast<i32>(row);
            const u32 amount = coverage[static_cast<size_t>(row) * width + column] & 0xFF;
            if (amount == 0 || px < 0 || py < 0 || px >= static_cast<i32>(m_width) ||
                py >= static_cast<i32>(m_height))
                continue;
            u32& pixel = m_pixels[static_cast<size_t>(py) * m_width + static_cast<size_t>(px)];
            pixel = Blend(pixel, colour, amount);
        }
}
