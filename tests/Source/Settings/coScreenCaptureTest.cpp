#include "Source/Settings/coScreenCapture.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plFakeDevice.h"
#include "Source/Settings/coPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

namespace {

// The 54 header bytes of a 24-bit bitmap, built independently of the writer.
std::string HeaderOf(u32 width, u32 height) {
    const u32 row = (width * 3 + 3) / 4 * 4;
    std::string bytes = "BM";
    auto put = [&](u32 value, int size) {
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    put(54 + row * height, 4), put(0, 4), put(54, 4), put(40, 4), put(width, 4), put(height, 4);
    put(1, 2), put(24, 2), put(0, 4), put(row * height, 4), put(width, 4), put(height, 4), put(0, 4),
        put(0, 4);
    return bytes;
}

struct coScreenCaptureTest : ::testing::Test {
    FakeDevice f;
    fsTestFolder folder;
    dbgLogCapture log;

    void SetUp() override {
        fsResetRootTable();
        folder.MakeFolder("saves");
        fsAddRootDirectory(coRootSaves, folder.Locator("saves"));
    }
    void TearDown() override { fsResetRootTable(); }

    // An image surface whose pixel at x, y is fill(x, y) as 0xAARRGGBB.
    plD3dSurface* Surface(u32 width, u32 height, plD3dFormat format,
                          const std::function<u32(u32, u32)>& fill) {
        plD3dSurface* surface = nullptr;
        EXPECT_EQ(f.device->CreateImageSurface(width, height, format, &surface), plD3dErr::Ok);
        const u32 size = plD3dBytesPerPixel(format);
        for (u32 y = 0; y < height; ++y)
            for (u32 x = 0; x < width; ++x)
                plD3dWriteArgb(format, fill(x, y), surface->Pixels() + y * surface->Pitch() + x * size);
        return surface;
    }
    static std::string Bmp(plD3dSurface& surface, int factor, const plD3dRect* rect = nullptr) {
        std::string bytes;
        const coBmpTarget target = [&](const u8* p, u32 count) {
            bytes.append(reinterpret_cast<const char*>(p), count);
        };
        coWriteBmpHeader(target, surface, factor, rect);
        coWriteBmpPixels(target, surface, factor, rect);
        surface.Release();
        return bytes;
    }
    static u32 Bgr(const std::string& bmp, size_t offset) {
        return static_cast<u8>(bmp[offset]) | static_cast<u8>(bmp[offset + 1]) << 8 |
               static_cast<u8>(bmp[offset + 2]) << 16;
    }
};

} // namespace

TEST_F(coScreenCaptureTest, HeaderRowsAndBlockAverages) {
    // Factor 3 on 800 x 6: 266 pixels of 3 x 3 blocks, 798 bytes plus 2 of padding a row, bottom row first.
    const std::string bmp =
        Bmp(*Surface(800, 6, plD3dFormat::X8R8G8B8, [](u32 x, u32 y) { return (x + 10 * y) & 0xFF; }), 3);
    EXPECT_EQ(bmp.substr(0, 54), HeaderOf(266, 2));
    ASSERT_EQ(bmp.size(), 54u + 2 * 800);
    // Bottom block at (0, 3): mean of x + 10 y over x 0..2, y 3..5 is 41; the top row's third block 17.
    EXPECT_EQ(std::tuple(Bgr(bmp, 54), Bgr(bmp, 54 + 800 + 6)), std::tuple(41u, 17u));
    EXPECT_EQ(bmp.substr(54 + 798, 2), std::string(2, '\0'));

    // Full size: 3 x 2 with 3 bytes of padding; the area clipped to the surface.
    const plD3dRect beyond{1, 0, 9, 9};
    const std::string clipped =
        Bmp(*Surface(4, 2, plD3dFormat::X8R8G8B8, [](u32 x, u32 y) { return x | y << 16; }), 1, &beyond);
    EXPECT_EQ(clipped.substr(0, 54), HeaderOf(3, 2));
    EXPECT_EQ(std::tuple(Bgr(clipped, 54), Bgr(clipped, 54 + 12 + 6)), std::tuple(0x010001u, 3u));

    // 16-bit pixels through the format: pure red, green and blue keep their top bits.
    const u32 rgb[] = {0xFF0000, 0x00FF00, 0x0000FF};
    const std::string wide = Bmp(*Surface(3, 1, plD3dFormat::R5G6B5, [&](u32 x, u32) { return rgb[x]; }), 1);
    EXPECT_EQ(std::tuple(Bgr(wide, 54), Bgr(wide, 57), Bgr(wide, 60)),
              std::tuple(0xF80000u, 0x00FC00u, 0x0000F8u));
}

TEST_F(coScreenCaptureTest, ThumbnailAreas) {
    struct Case {
        u32 width, height;
        int factor;
        i32 right, bottom;
    };
    const Case cases[] = {{640, 480, 4, 640, 480},   {1024, 768, 6, 960, 720},     {1366, 768, 6, 960, 720},
                          {1280, 960, 8, 1280, 960}, {1600, 1200, 10, 1600, 1200}, {100, 50, 1, 100, 50}};
    for (const Case& c : cases) {
        int factor = 0;
        const plD3dRect area = coThumbnailArea(c.width, c.height, factor);
        EXPECT_EQ(std::tuple(factor, area.right, area.bottom), std::tuple(c.factor, c.right, c.bottom))
            << c.width;
    }
}

TEST_F(coScreenCaptureTest, ThumbnailOfTheBackBuffer) {
    // 1024 x 768: 6 x 6 blocks of the top-left 960 x 720; the strip right of it stays out.
    f.params = Windowed(1024, 768);
    ASSERT_EQ(f.device->Reset(&f.params), plD3dErr::Ok);
    ASSERT_EQ(f.device->Clear(0, nullptr, plD3dClear::Target, 0xFF00FF00, 1.0f, 0), plD3dErr::Ok);
    const plD3dRect strip{960, 0, 1024, 768}, corner{0, 714, 6, 720};
    ASSERT_EQ(f.device->Clear(1, &strip, plD3dClear::Target, 0xFFFF0000, 1.0f, 0), plD3dErr::Ok);
    ASSERT_EQ(f.device->Clear(1, &corner, plD3dClear::Target, 0xFF0000FF, 1.0f, 0), plD3dErr::Ok);
    std::string bmp;
    coWriteThumbnailBmp([&](const u8* p, u32 count) { bmp.append(reinterpret_cast<const char*>(p), count); },
                        *f.device);
    EXPECT_EQ(bmp.substr(0, 54), HeaderOf(160, 120));
    ASSERT_EQ(bmp.size(), 54u + 160 * 3 * 120);
    EXPECT_EQ(Bgr(bmp, 54), 0x0000FFu); // the bottom-left block
    EXPECT_EQ(Bgr(bmp, 54 + 159 * 3), 0x00FF00u);
}

TEST(coThumbnailCameraTest, CandidatesRaisedDroppedAndDrawn) {
    // A box centred on (10, 0, 20) with half-extents 4, 2, 8; terrain at height 30 left of x = 0.
    const maBoundingBox box(maVector3d(6, -2, 12), maVector3d(14, 2, 28));
    std::vector<maVector3d> asked;
    coThumbnailWorld world{[](f32 x, f32, f32& height) { return x < 0 && (height = 30.0f, true); },
                           [](const maBoundingBox&) { return false; },
                           [&](const maVector3d& p) { return asked.push_back(p), false; }};
    maVector3d target;
    maRandomSeed(1);
    const u32 draw = (1 * 214013u + 2531011u) >> 16 & 0x7FFF; // the sequence's first draw
    const maVector3d chosen = coChooseThumbnailCamera(box, world, target);
    ASSERT_EQ(asked.size(), 4u);
    const maVector3d expected[] = {{7, 1.5f, 26}, {13, 1.5f, 14}, {90, 80, 100}, {-65, 50, -55}};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(asked[i].x == expected[i].x && asked[i].y == expected[i].y && asked[i].z == expected[i].z)
            << i;
    EXPECT_EQ(std::tuple(chosen.x, target.z), std::tuple(expected[draw % 4].x, 20.0f));

    // Every candidate dropped: the first as computed, unraised. An empty box looks at the origin from
    // (80, 80, 80), raised above the terrain.
    world.rejects = [](const maVector3d&) { return true; };
    EXPECT_EQ(coChooseThumbnailCamera(box, world, target).x, 7.0f);
    world.rejects = [](const maVector3d&) { return false; };
    world.terrainHeight = [](f32, f32, f32& height) { return height = 100.0f, true; };
    const maVector3d empty = coChooseThumbnailCamera(maBoundingBox(), world, target);
    EXPECT_TRUE(empty.x == 80.0f && empty.y == 110.0f && target.x == 0.0f);
}

TEST_F(coScreenCaptureTest, GrabsSkipTakenNumbersAndKeepOldFiles) {
    ASSERT_EQ(f.device->Clear(0, nullptr, plD3dClear::Target, 0xFF102030, 1.0f, 0), plD3dErr::Ok);
    ASSERT_EQ(f.device->Present(), plD3dErr::Ok);
    folder.Write("saves/grab0001.bmp", "earlier");
    folder.MakeFolder("saves/grab0002.bmp");
    const fsLocator grab = coGrabScreenshot(*f.device);
    EXPECT_EQ(grab.GetLastComponent(), envString("grab0003.bmp"));
    EXPECT_EQ(folder.Read("saves/grab0001.bmp"), "earlier");
    const std::string bmp = folder.Read("saves/grab0003.bmp");
    EXPECT_EQ(std::tuple(bmp.substr(0, 54), Bgr(bmp, 54)), std::tuple(HeaderOf(32, 16), 0x102030u));

    {
        const fsWriteCalls failing(EIO);
        EXPECT_ANY_THROW(coGrabScreenToBmp(*f.device, folder.Locator("saves/grab0001.bmp"), 1));
    }
    EXPECT_EQ(folder.Read("saves/grab0001.bmp"), "earlier");

    // No program folder to write to: ride frames go to the saves folder, numbered from 1.
    const fsLocator frame = coGrabRideFrame(*f.device, 2);
    EXPECT_EQ(frame.GetLastComponent(), envString("mov00001.bmp"));
    EXPECT_EQ(folder.Read("saves/mov00001.bmp").substr(0, 54), HeaderOf(16, 8));
}
