#include "Tools/Image/toolPngWriter.h"

#include "Tools/Pak/toolPakWriter.h"

#include <png.h>

#include <csetjmp>
#include <stdexcept>

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
bool Encode(png_structp png, png_infop info, const toolImage& image, std::string* bytes) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, bytes, Append, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 image.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = size_t(image.width) * size_t(image.channels);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.pixels.data() + stride * size_t(y));
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::string toolEncodePng(const toolImage& image) {
    if (image.width < 1 || image.height < 1 || (image.channels != 3 && image.channels != 4) ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * size_t(image.channels))
        throw std::invalid_argument("PNG: the pixels do not match the size");
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = info && Encode(png, info, image, &bytes);
    png_destroy_write_struct(&png, &info);
    if (!written)
        throw std::runtime_error("PNG: the image could not be encoded");
    return bytes;
}

void toolWritePng(const std::string& path, const toolImage& image) {
    toolWriteFile(path, toolEncodePng(image));
}
