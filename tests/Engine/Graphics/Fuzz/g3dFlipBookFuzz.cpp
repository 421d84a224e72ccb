// libFuzzer target: arbitrary bytes as a ".tuv" flip-book beside two good pages and a damaged one, read on
// the fake device. A load ends in the loaders' exceptions, leaving no texture, or in a flip-book whose
// every frame maps to one of its pages and to a cell inside it. Seeds: tests/Fuzz/lvFuzzSeeds.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Fuzz/fuzzFakeDevice.h"
#include "Fuzz/fuzzInputFile.h"

#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

std::unique_ptr<fuzzInputFile> g_input;
fsLocator g_locator;

void WritePage(const std::string& name, u32 width, u32 height) {
    g2dPixelRows rows{width, height, false, std::vector<u8>(static_cast<size_t>(width) * height * 3, 90)};
    std::ofstream(g_input->GetFolder() + "/" + name, std::ios::binary) << g2dEncodePNG(rows);
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
    g_input = std::make_unique<fuzzInputFile>("book.tuv");
    fsLocatorFromNativePath(g_input->GetPath().c_str(), g_locator);
    dbgSetLogSink([](const std::string&) {});
    fuzzStartFakeDevice();
    WritePage("p0.png", 4, 4);
    WritePage("p1.png", 8, 2);
    std::ofstream(g_input->GetFolder() + "/bad.png", std::ios::binary) << "\x89PNG\r\n\x1a\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    g3dUVATexture* book = nullptr;
    try {
        book = g3dTextureManager::LoadUVATexture(g_locator, 0, 0);
    } catch (const envExceptionX&) {
        return 0; // the loaders' answer to a bad book or page
    }
    Check(*book);
    g3dTextureManager::ReleaseTexture(book);
    return 0;
}
