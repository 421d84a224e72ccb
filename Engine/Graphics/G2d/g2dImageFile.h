#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Graphics/G2d/g2dPixelFormat.h"

class g2dPictureFailure;

#include <span>
#include <string>
#include <vector>

// Decoded pixels between a reader and the converter: rows top first, each of width pixels of 3 bytes
// (red, green, blue) or, with alpha, 4 (red, green, blue, alpha).
struct g2dPixelRows {
    u32 width = 0;
    u32 height = 0;
    bool hasAlpha = false;
    std::vector<u8> bytes;

    u32 BytesPerPixel() const { return hasAlpha ? 4 : 3; }
    size_t RowBytes() const { return static_cast<size_t>(width) * BytesPerPixel(); }
    const u8* Row(u32 row) const { return bytes.data() + row * RowBytes(); }
};

// The largest image the readers decode. The game's textures and screen pictures are a few thousand pixels
// a side at most, and OpenGL devices take at most 16384; the pixel cap (an 8192 square, 256 MiB as 32-bit
// texels) keeps a small file from asking for gigabytes before its rows are read.
constexpr u32 g2dMaxImageSide = 16384;
constexpr u64 g2dMaxImagePixels = u64{64} << 20;

constexpr i32 g2dImageFileBMP = 0;
constexpr i32 g2dImageFilePNG = 1;

// The type by signature: "BM" is BMP, the 8-byte PNG signature PNG, anything else -1.
i32 g2dImageFileTypeOf(std::span<const u8> start);
// The type of a file by its first bytes; g2dUnknownImageFileTypeX for anything else. Like every reader
// here that takes a file, its picture failures name the file (g2dPictureFailure).
i32 g2dGetImageFileType(const fsLocator& file);
// The whole file, from a pak or the disc.
std::vector<u8> g2dReadImageFile(const fsLocator& file);
// The picture that a failure names, as it is found on disc: its path inside the pak and the pak's path
// ("uiod/a.png in /data/gui.pak"), or the file's own path.
std::string g2dPictureFileName(const g2dPictureFailure& failure);

// A 24-bit uncompressed BMP with an info header of 40 bytes or more. Every header field is checked
// against the file: g2dUnknownImageFileTypeX for another kind of BMP, a size of 0 or beyond the largest
// image, an offset outside the file, or (cut short) missing headers or rows.
g2dPixelRows g2dDecodeBMP(std::span<const u8> file);
// Any PNG: palettes and grey become RGB, transparency becomes alpha, 16-bit channels 8-bit. A damaged
// file, or one beyond the largest image, throws g2dDamagedImageX (cut short when it ends too early);
// g2dGeneralX when the library fails.
g2dPixelRows g2dDecodePNG(std::span<const u8> file);
// A BMP or PNG by its signature, from the bytes read from the file.
g2dPixelRows g2dDecodeImageFile(std::span<const u8> bytes, const fsLocator& file);
// The rows as a PNG file's bytes; g2dGeneralX for rows that do not match their size or are beyond the
// largest image.
std::string g2dEncodePNG(const g2dPixelRows& rows);
g2dPixelRows g2dReadBMP(const fsLocator& file);
g2dPixelRows g2dReadPNG(const fsLocator& file);

// Packs the rows into texels of the format, row r at destination + r x pitch. 16-, 24- and 32-bit
// formats are written; other sizes are left alone.
void g2dRowsToTexels(u8* destination, i32 pitch, const g2dPixelFormat& format, const g2dPixelRows& rows);
