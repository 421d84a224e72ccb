// libFuzzer target: arbitrary bytes as a ".tuv" flip-book beside two good pages and a damaged one, read on
// the fake device. A load ends in the loaders' exceptions, leaving no texture, or in a flip-book whose
// every frame maps to one of its pages and to a cell inside it. Seeds: tests/Fuzz/lvFuzzSeeds.
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Fuzz/fuzzFakeDevice.h"
#include "Fuzz/fuzzLoaderInput.h"

#include <cstdlib>
#include <fstream>

namespace {

void WritePage(const std::string& path, u32 width, u32 height) {
    g2dPixelRows rows{width, height, false, std::vector<u8>(static_cast<size_t>(width) * height * 3, 90)};
    std::ofstream(path, std::ios::binary) << g2dEncodePNG(rows);
}

void Check(const g3dUVATexture& book) {
    const i32 frames = book.GetFrameCount();
    for (i32 frame = 0; frame < frames && frame < 4096; ++frame) {
        f32 u = -1.0f, v = -1.0f;
        book.GetCellOffset(frame, u, v);
        if (!(u >= 0.0f && u < 1.0f && v >= 0.0f && v < 1.0f))
            std::abort();
        const g3dTexture* page = book.GetPageOfFrame(frame);
        if ((book.GetPageCount() == 0) != (page == nullptr))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string folder = fuzzLoader::Start("book.tuv").GetFolder();
    fuzzStartFakeDevice();
    WritePage(folder + "/p0.png", 4, 4);
    WritePage(folder + "/p1.png", 8, 2);
    std::ofstream(folder + "/bad.png", std::ios::binary) << "\x89PNG\r\n\x1a\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    g3dUVATexture* book = nullptr;
    try {
        book = g3dTextureManager::LoadUVATexture(file, 0, 0);
    } catch (const envExceptionX&) {
        return 0; // the loaders' answer to a bad book or page
    }
    Check(*book);
    g3dTextureManager::ReleaseTexture(book);
    return 0;
}
