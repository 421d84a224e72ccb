// libFuzzer target: arbitrary bytes as a BMP and as a PNG image. Each decoder ends in its exception or in
// rows whose size matches their width, height and channels within the largest image; a decoded image
// goes through the PNG writer and back unchanged. Seeds: tests/Fuzz/lvFuzzSeeds; scripts/fuzz runs it.
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(const g2dPixelRows& rows) {
    if (rows.width == 0 || rows.height == 0 || rows.width > g2dMaxImageSide ||
        rows.height > g2dMaxImageSide || u64{rows.width} * rows.height > g2dMaxImagePixels ||
        rows.bytes.size() != rows.RowBytes() * rows.height)
        std::abort();
    const std::string png = g2dEncodePNG(rows);
    const g2dPixelRows again = g2dDecodePNG(std::span(reinterpret_cast<const u8*>(png.data()), png.size()));
    if (again.width != rows.width || again.height != rows.height || again.hasAlpha != rows.hasAlpha ||
        again.bytes != rows.bytes)
        std::abort();
}

template <class Decode> void Try(Decode decode, std::span<const u8> file) {
    g2dPixelRows rows;
    try {
        rows = decode(file);
    } catch (const envExceptionX&) {
        return; // the decoder's answer to a bad file
    }
    Check(rows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const u8> file(data, size);
    Try(g2dDecodeBMP, file);
    Try(g2dDecodePNG, file);
    return 0;
}
