#include "Engine/Graphics/G2d/g2dImageFile.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/Core/Env/envLittleEndian.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr u8 kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr size_t kBmpFileHeader = 14;
constexpr size_t kBmpInfoHeader = 40;

void StoreTexel(u8* at, u32 texel, u32 bytes) {
    // Texels are stored in the machine's order, as the device reads them.
    if (bytes == 2) {
        const u16 value = static_cast<u16>(texel);
        std::memcpy(at, &value, 2);
    } else if (bytes == 3) {
        at[0] = static_cast<u8>(texel);
        at[1] = static_cast<u8>(texel >> 8);
        at[2] = static_cast<u8>(texel >> 16);
    } else {
        std::memcpy(at, &texel, 4);
    }
}

// A file too short to hold a signature is cut short; any other that has none is not a picture.
g2dUnknownImageFileTypeX UnknownType(size_t size) {
    return g2dUnknownImageFileTypeX(size < sizeof kPngSignature ? gfDamage::CutShort : gfDamage::Malformed);
}

// Runs a read of the file: a picture failure names it, inside the pak that held it.
template <class Read> auto NamingFile(const fsLocator& file, Read read) {
    try {
        return read();
    } catch (g2dPictureFailure& failure) {
        fsLocator pathInPak;
        const gfPakFile* pak = gfPakSearcher::FindPak(file, pathInPak);
        failure.SetFile(pak ? pathInPak : file, pak ? pak->GetLocator() : fsLocator());
        throw;
    }
}

} // namespace

i32 g2dImageFileTypeOf(std::span<const u8> start) {
    if (start.size() >= 2 && start[0] == 'B' && start[1] == 'M')
        return g2dImageFileBMP;
    if (start.size() >= sizeof kPngSignature && std::equal(kPngSignature, kPngSignature + 8, start.begin()))
        return g2dImageFilePNG;
    return -1;
}

i32 g2dGetImageFileType(const fsLocator& file) {
    return NamingFile(file, [&file] {
        gfFile stream(file, gfFileRead);
        u8 start[sizeof kPngSignature] = {};
        const u32 read = stream.Read(sizeof start, start);
        const i32 type = g2dImageFileTypeOf({start, read});
        if (type < 0)
            throw UnknownType(read);
        return type;
    });
}

std::vector<u8> g2dReadImageFile(const fsLocator& file) {
    gfFile stream(file, gfFileRead);
    std::vector<u8> bytes(stream.GetSize());
    bytes.resize(stream.Read(static_cast<u32>(bytes.size()), bytes.data()));
    return bytes;
}

std::string g2dPictureFileName(const g2dPictureFailure& failure) {
    std::string name, pak;
    if (failure.GetPak().GetComponentCount() > 0) {
        fsJoinComponents(failure.GetFile(), name);
        fsLocatorToNativePath(failure.GetPak(), pak);
        return name + " in " + pak;
    }
    fsLocator file = failure.GetFile();
    try {
        fsResolveRoot(file);
    } catch (const envExceptionX&) {
        // A root without directories: the components are all there is to name.
    }
    fsLocatorToNativePath(file, name);
    return name;
}

g2dPixelRows g2dDecodeBMP(std::span<const u8> file) {
    if (file.size() < kBmpFileHeader + kBmpInfoHeader)
        throw g2dUnknownImageFileTypeX(gfDamage::CutShort);
    if (envLe16(file.data()) != 0x4D42)
        throw g2dUnknownImageFileTypeX();
    const u64 dataOffset = envLe32(file.data() + 10);
    const u64 headerSize = envLe32(file.data() + 14);
    const i32 width = static_cast<i32>(envLe32(file.data() + 18));
    const i32 height = static_cast<i32>(envLe32(file.data() + 22));
    const u32 bitCount = envLe16(file.data() + 28);
    const u32 compression = envLe32(file.data() + 30);
    // The OS/2 header (12 bytes) and anything shorter than the info header are refused with the rest.
    if (headerSize < kBmpInfoHeader || bitCount != 24 || compression != 0)
        throw g2dUnknownImageFileTypeX();
    const u32 rowCount = height < 0 ? 0u - static_cast<u32>(height) : static_cast<u32>(height);
    if (width < 1 || static_cast<u32>(width) > g2dMaxImageSide || rowCount < 1 ||
        rowCount > g2dMaxImageSide || u64{static_cast<u32>(width)} * rowCount > g2dMaxImagePixels)
        throw g2dUnknownImageFileTypeX();

    g2dPixelRows rows;
    rows.width = static_cast<u32>(width);
    rows.height = rowCount;
    const size_t rowBytes = rows.RowBytes();
    const size_t stride = (rowBytes + 3) & ~size_t{3};
    // The last row may go without its padding.
    if (dataOffset < kBmpFileHeader + headerSize || dataOffset > file.size())
        throw g2dUnknownImageFileTypeX();
    if ((rowCount - 1) * u64{stride} + rowBytes > file.size() - dataOffset)
        throw g2dUnknownImageFileTypeX(gfDamage::CutShort);

    // Rows run bottom-up unless the height is negative.
    rows.bytes.resize(rowCount * rowBytes);
    for (u32 r = 0; r < rowCount; ++r) {
        const u8* source = file.data() + dataOffset + r * stride;
        u8* row = rows.bytes.data() + (height < 0 ? r : rowCount - 1 - r) * rowBytes;
        for (size_t x = 0; x < rowBytes; x += 3) {
            row[x] = source[x + 2];
            row[x + 1] = source[x + 1];
            row[x + 2] = source[x];
        }
    }
    return rows;
}

g2dPixelRows g2dReadBMP(const fsLocator& file) {
    return NamingFile(file, [&file] { return g2dDecodeBMP(g2dReadImageFile(file)); });
}

g2dPixelRows g2dDecodeImageFile(std::span<const u8> bytes, const fsLocator& file) {
    return NamingFile(file, [bytes] {
        switch (g2dImageFileTypeOf(bytes)) {
        case g2dImageFileBMP:
            return g2dDecodeBMP(bytes);
        case g2dImageFilePNG:
            return g2dDecodePNG(bytes);
        default:
            throw UnknownType(bytes.size());
        }
    });
}

g2dPixelRows g2dReadPNG(const fsLocator& file) {
    return NamingFile(file, [&file] { return g2dDecodePNG(g2dReadImageFile(file)); });
}

void g2dRowsToTexels(u8* destination, i32 pitch, const g2dPixelFormat& format, const g2dPixelRows& rows) {
    const u32 texelBytes = format.bitsPerPixel / 8;
    if (format.bitsPerPixel != 16 && format.bitsPerPixel != 24 && format.bitsPerPixel != 32)
        return;
    const u32 pixelBytes = rows.BytesPerPixel();
    for (u32 r = 0; r < rows.height; ++r) {
        const u8* pixel = rows.Row(r);
        u8* texel = destination + static_cast<std::ptrdiff_t>(r) * pitch;
        for (u32 x = 0; x < rows.width; ++x, pixel += pixelBytes, texel += texelBytes)
            StoreTexel(texel, rows.hasAlpha ? format.PackRGBA(pixel) : format.PackRGB(pixel), texelBytes);
    }
}
