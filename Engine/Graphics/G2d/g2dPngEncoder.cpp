#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"

#include <png.h>

#include <csetjmp>

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void Flush(png_structp) {}

// Every error ends the write at the recovery point of Encode; nothing is printed.
void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// False when libpng fails. No object with a destructor lives in this frame, which longjmp leaves.
bool Encode(png_structp png, png_infop info, const g2dPixelRows& rows, std::string* bytes) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, bytes, Append, Flush);
    png_set_IHDR(png, info, rows.width, rows.height, 8,
                 rows.hasAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (u32 y = 0; y < rows.height; ++y)
        png_write_row(png, rows.Row(y));
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::string g2dEncodePNG(const g2dPixelRows& rows) {
    if (rows.width < 1 || rows.height < 1 || rows.width > g2dMaxImageSide || rows.height > g2dMaxImageSide ||
        rows.bytes.size() != rows.RowBytes() * rows.height)
        throw g2dGeneralX();
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = info && Encode(png, info, rows, &bytes);
    png_destroy_write_struct(&png, &info);
    if (!written)
        throw g2dGeneralX();
    return bytes;
}
