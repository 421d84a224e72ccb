#include "Tools/Image/toolPngWriter.h"

#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Tools/Pak/toolPakWriter.h"

#include <stdexcept>

std::string toolEncodePng(const toolImage& image) {
    if (image.width < 1 || image.height < 1 || (image.channels != 3 && image.channels != 4) ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * size_t(image.channels))
        throw std::invalid_argument("PNG: the pixels do not match the size");
    const g2dPixelRows rows{static_cast<u32>(image.width), static_cast<u32>(image.height),
                            image.channels == 4, image.pixels};
    try {
        return g2dEncodePNG(rows);
    } catch (const envExceptionX&) {
        throw std::runtime_error("PNG: the image could not be encoded");
    }
}

void toolWritePng(const std::string& path, const toolImage& image) {
    toolWriteFile(path, toolEncodePng(image));
}
