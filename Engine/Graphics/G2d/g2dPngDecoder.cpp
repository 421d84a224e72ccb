#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace {

// The file in memory that libpng reads from.
struct Source {
    const u8* data;
    size_t size;
    size_t position;
    bool cutShort; // a read ran past the end
};

// What the reader needs to know after the transformations are set up.
struct Header {
    png_uint_32 width;
    png_uint_32 height;
    size_t rowBytes;
    u32 channels;
    bool hasAlpha;
};

// Deflate expands at most 1032 times: an image claiming more rows than its file could hold is damaged.
// Rows are measured before palettes and grey expand, so the size cap bounds what is allocated.
constexpr u64 kMaxInflateRatio = 1032;
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

void ReadBytes(png_structp png, png_bytep out, size_t count) {
    Source* source = static_cast<Source*>(png_get_io_ptr(png));
    if (count > source->size - source->position) {
        source->cutShort = true;
        png_error(png, "truncated");
    }
    std::memcpy(out, source->data + source->position, count);
    source->position += count;
}

// Every error ends the read at the recovery point of the frame that made the call; nothing is printed.
[[noreturn]] void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// libpng may jump out of the next two functions: no object with a destructor lives in them.
bool ReadHeader(png_structp png, png_infop info, size_t fileSize, Header* header) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
    if (u64{width} * height > g2dMaxImagePixels)
        png_error(png, "too many pixels");
    if (u64{height} * (png_get_rowbytes(png, info) + 1) > u64{fileSize} * kMaxInflateRatio)
        png_error(png, "more rows than the file can hold");

    // Everything becomes 8-bit RGB or RGBA.
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_strip_16(png);
    if (!(colourType & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    header->width = width;
    header->height = height;
    header->rowBytes = png_get_rowbytes(png, info);
    header->channels = png_get_channels(png, info);
    header->hasAlpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0;
    return true;
}

bool ReadImage(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    return true;
}

// Frees libpng's structures however the read ends.
class PngReader {
  public:
    PngReader() {
        m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (m_png)
            m_info = png_create_info_struct(m_png);
        if (!m_info) {
            png_destroy_read_struct(&m_png, nullptr, nullptr);
            throw g2dGeneralX();
        }
        png_set_user_limits(m_png, g2dMaxImageSide, g2dMaxImageSide);
        png_set_chunk_malloc_max(m_png, kMaxChunkBytes);
    }
    ~PngReader() { png_destroy_read_struct(&m_png, &m_info, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

} // namespace

g2dPixelRows g2dDecodePNG(std::span<const u8> file) {
    PngReader reader;
    Source source{file.data(), file.size(), 0, false};
    png_set_read_fn(reader.m_png, &source, ReadBytes);

    Header header{};
    const auto damaged = [&source] {
        return g2dDamagedImageX(source.cutShort ? gfDamage::CutShort : gfDamage::Malformed);
    };
    if (!ReadHeader(reader.m_png, reader.m_info, file.size(), &header))
        throw damaged();
    g2dPixelRows rows;
    rows.width = header.width;
    rows.height = header.height;
    rows.hasAlpha = header.hasAlpha;
    if (header.channels != rows.BytesPerPixel() || header.rowBytes != rows.RowBytes())
        throw g2dDamagedImageX();

    rows.bytes.resize(rows.height * rows.RowBytes());
    std::vector<png_bytep> pointers(rows.height);
    for (u32 r = 0; r < rows.height; ++r)
        pointers[r] = rows.bytes.data() + r * rows.RowBytes();
    if (!ReadImage(reader.m_png, pointers.data()))
        throw damaged();
    return rows;
}
