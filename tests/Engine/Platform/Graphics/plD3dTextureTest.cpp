#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dx.h"
#include "plFakeDevice.h"

#include <cstring>
#include <vector>

namespace {

constexpr u32 kRt = plD3dUsage::RenderTarget;

// A texture's level filled with 0xAARRGGBB texels of A8R8G8B8, row after row.
void Fill(plD3dSurface& level, const std::vector<u32>& argb) {
    ASSERT_EQ(level.Desc().format, plD3dFormat::A8R8G8B8);
    std::memcpy(level.Pixels(), argb.data(), argb.size() * 4);
}

std::vector<u32> Texels(const plD3dSurface& level) {
    std::vector<u32> argb(level.Desc().width * level.Desc().height);
    std::memcpy(argb.data(), level.Pixels(), argb.size() * 4);
    return argb;
}

} // namespace

TEST(plD3dTexture, CreationChecksSizeLevelsUsagePoolAndFormat) {
    FakeDevice f;
    plD3dCaps caps;
    f.device->GetDeviceCaps(&caps);
    EXPECT_EQ(caps.maxTextureWidth, 2048u);
    f.factory.RefuseTextureFormat(plD3dFormat::R5G6B5);
    const struct {
        u32 width, height, levels, usage, pool;
        plD3dFormat format;
        u32 expectedLevels; // 0: refused
    } cases[] = {
        {64, 64, 0, 0, plD3dPool::Managed, plD3dFormat::A4R4G4B4, 7},
        {256, 128, 0, 0, plD3dPool::SystemMem, plD3dFormat::X8R8G8B8, 9},
        {5, 3, 0, 0, plD3dPool::Managed, plD3dFormat::A8R8G8B8, 3},
        {64, 64, 1, kRt, plD3dPool::Default, plD3dFormat::X8R8G8B8, 1},
        {64, 64, 8, 0, plD3dPool::Managed, plD3dFormat::A4R4G4B4, 0},
        {4096, 4, 1, 0, plD3dPool::Managed, plD3dFormat::A4R4G4B4, 0},
        {0, 4, 1, 0, plD3dPool::Managed, plD3dFormat::A4R4G4B4, 0},
        {64, 64, 1, kRt, plD3dPool::Managed, plD3dFormat::X8R8G8B8, 0},
        {64, 64, 1, 0, plD3dPool::Managed, plD3dFormat::R5G6B5, 0},
        {64, 64, 1, 0, plD3dPool::Managed, plD3dFormat::P8, 0},
    };
    for (const auto& c : cases) {
        plD3dTexture* texture = nullptr;
        const plD3dResult result =
            f.device->CreateTexture(c.width, c.height, c.levels, c.usage, c.format, c.pool, &texture);
        if (c.expectedLevels == 0) {
            EXPECT_EQ(result, plD3dErr::InvalidCall) << c.width << "x" << c.height;
            EXPECT_EQ(texture, nullptr);
            continue;
        }
        ASSERT_EQ(result, plD3dErr::Ok) << c.width << "x" << c.height;
        ASSERT_EQ(texture->GetLevelCount(), c.expectedLevels);
        plD3dSurfaceDesc last;
        ASSERT_EQ(texture->GetLevelDesc(c.expectedLevels - 1, &last), plD3dErr::Ok);
        EXPECT_EQ(last.width, std::max(c.width >> (c.expectedLevels - 1), 1u));
        EXPECT_EQ(last.height, std::max(c.height >> (c.expectedLevels - 1), 1u));
        EXPECT_EQ(last.pool, c.pool);
        EXPECT_EQ(texture->Release(), 0u);
    }
    EXPECT_EQ(f.d3d->CheckDeviceFormat(0, plD3dDevType::Hal, plD3dFormat::X8R8G8B8, 0, plD3dRType::Texture,
                                       plD3dFormat::R5G6B5),
              plD3dErr::NotAvailable);
    EXPECT_EQ(f.d3d->CheckDeviceFormat(0, plD3dDevType::Hal, plD3dFormat::X8R8G8B8, kRt, plD3dRType::Texture,
                                       plD3dFormat::A4R4G4B4),
              plD3dErr::Ok);
    EXPECT_EQ(f.factory.GetLog().back(), "CreateTexture 64 64 1 0 41 1 -> 8876086c");
}

TEST(plD3dTexture, LevelsAreKeptLockedCopiedAndBoundByTheRules) {
    FakeDevice f;
    plD3dTexture* texture = nullptr;
    ASSERT_EQ(f.device->CreateTexture(4, 4, 0, 0, plD3dFormat::A8R8G8B8, plD3dPool::Managed, &texture),
              plD3dErr::Ok);
    EXPECT_EQ(texture->TakeWrittenLevels(), 0b111u);
    // Only locks for writing and copies in count as written.
    plD3dLockedRect locked;
    ASSERT_EQ(texture->LockRect(1, &locked, nullptr, plD3dLock::ReadOnly), plD3dErr::Ok);
    EXPECT_EQ(texture->LockRect(1, &locked, nullptr, 0), plD3dErr::InvalidCall);
    ASSERT_EQ(texture->UnlockRect(1), plD3dErr::Ok);
    EXPECT_EQ(texture->TakeWrittenLevels(), 0u);
    ASSERT_EQ(texture->LockRect(2, &locked, nullptr, 0), plD3dErr::Ok);
    static_cast<u32*>(locked.bits)[0] = 0x11223344;
    ASSERT_EQ(texture->UnlockRect(2), plD3dErr::Ok);
    plD3dSurface* image = nullptr;
    ASSERT_EQ(f.device->CreateImageSurface(2, 2, plD3dFormat::A8R8G8B8, &image), plD3dErr::Ok);
    Fill(*image, {1, 2, 3, 4});
    plD3dSurface* level1 = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(1, &level1), plD3dErr::Ok);
    ASSERT_EQ(f.device->CopyRects(image, nullptr, 0, level1, nullptr), plD3dErr::Ok);
    EXPECT_EQ(texture->TakeWrittenLevels(), 0b110u);
    EXPECT_EQ(Texels(*level1), (std::vector<u32>{1, 2, 3, 4}));

    // Bindings hold no reference; a level held keeps its texture.
    ASSERT_EQ(f.device->SetTexture(0, texture), plD3dErr::Ok);
    EXPECT_EQ(texture->Release(), 1u);
    plD3dTexture* bound = nullptr;
    ASSERT_EQ(f.device->GetTexture(0, &bound), plD3dErr::Ok);
    EXPECT_EQ(bound, texture);
    EXPECT_EQ(level1->Release(), 0u);
    ASSERT_EQ(f.device->GetTexture(0, &bound), plD3dErr::Ok);
    EXPECT_EQ(bound, nullptr);

    // System memory cannot be bound; the default pool cannot be locked and stands in Reset's way.
    plD3dTexture* staging = nullptr;
    plD3dTexture* target = nullptr;
    ASSERT_EQ(f.device->CreateTexture(4, 4, 1, 0, plD3dFormat::A8R8G8B8, plD3dPool::SystemMem, &staging),
              plD3dErr::Ok);
    ASSERT_EQ(f.device->CreateTexture(4, 4, 1, kRt, plD3dFormat::A8R8G8B8, plD3dPool::Default, &target),
              plD3dErr::Ok);
    EXPECT_EQ(f.device->SetTexture(0, staging), plD3dErr::InvalidCall);
    EXPECT_EQ(target->LockRect(0, &locked, nullptr, 0), plD3dErr::InvalidCall);
    EXPECT_EQ(f.device->Reset(&f.params), plD3dErr::InvalidCall);
    EXPECT_EQ(target->Release(), 0u);
    ASSERT_EQ(f.device->SetTextureStageState(0, plD3dTss::ColorOp, plD3dTop::SelectArg2), plD3dErr::Ok);
    ASSERT_EQ(f.device->Reset(&f.params), plD3dErr::Ok);
    u32 value = 0;
    ASSERT_EQ(f.device->GetTextureStageState(0, plD3dTss::ColorOp, &value), plD3dErr::Ok);
    EXPECT_EQ(value, plD3dTop::Modulate);
    ASSERT_EQ(f.device->GetTextureStageState(1, plD3dTss::AlphaOp, &value), plD3dErr::Ok);
    EXPECT_EQ(value, plD3dTop::Disable);
    EXPECT_EQ(staging->Release(), 0u);
    EXPECT_EQ(image->Release(), 0u);
}

TEST(plD3dx, ResamplingAndLevelsAreExactAreaAverages) {
    FakeDevice f;
    plD3dSurface* source = nullptr;
    ASSERT_EQ(f.device->CreateImageSurface(3, 2, plD3dFormat::A8R8G8B8, &source), plD3dErr::Ok);
    Fill(*source, {0xFF000000, 0xFF0000FF, 0xFF00FF00, 0x00FF0000, 0x80808080, 0xFFFFFFFF});
    plD3dTexture* texture = nullptr;
    ASSERT_EQ(f.device->CreateTexture(2, 2, 0, 0, plD3dFormat::A8R8G8B8, plD3dPool::SystemMem, &texture),
              plD3dErr::Ok);
    plD3dSurface* level0 = texture->Level(0);
    // Target texel 0 takes a whole source texel and half of the next; rounded to the nearest. Point
    // takes the texels under the centres, the keyed colour turned transparent black.
    ASSERT_EQ(plD3dxLoadSurfaceFromSurface(level0, nullptr, source, nullptr, plD3dxFilter::Triangle, 0),
              plD3dErr::Ok);
    EXPECT_EQ(Texels(*level0), (std::vector<u32>{0xFF000055, 0xFF00AA55, 0x2BD52B2B, 0xD5D5D5D5}));
    ASSERT_EQ(plD3dxLoadSurfaceFromSurface(level0, nullptr, source, nullptr, plD3dxFilter::Point, 0xFF000000),
              plD3dErr::Ok);
    EXPECT_EQ(Texels(*level0), (std::vector<u32>{0, 0xFF00FF00, 0x00FF0000, 0xFFFFFFFF}));
    EXPECT_EQ(plD3dxLoadSurfaceFromSurface(level0, nullptr, source, nullptr, plD3dxFilter::None, 0),
              plD3dErr::InvalidCall);
    // The next level is the 2 x 2 box of this one.
    Fill(*level0, {0xFF000000, 0xFF0000FF, 0x00FF0000, 0xFFFFFF01});
    ASSERT_EQ(plD3dxFilterTexture(texture, 0, plD3dxFilter::Default), plD3dErr::Ok);
    EXPECT_EQ(Texels(*texture->Level(1)), (std::vector<u32>{0xBF804040}));
    EXPECT_EQ(plD3dxFilterTexture(texture, 2, plD3dxFilter::Box), plD3dErr::InvalidCall);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(source->Release(), 0u);
}
