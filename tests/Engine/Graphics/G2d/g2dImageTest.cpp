#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"
#include "Engine/Graphics/G3d/g3dHardware.h"
#include "Engine/Graphics/G3d/g3dImageFile.h"
#include "g2dImageBuilder.h"
#include "g2dScreenFixture.h"

#include <cstring>

namespace {

u32 TexelAt(g2dImage& image, i32 x, i32 y) {
    const u8* texels = image.Lock();
    const u32 bytes = image.GetPixelFormat().bitsPerPixel / 8;
    u32 texel = 0;
    std::memcpy(&texel, texels + y * image.GetPitch() + x * bytes, bytes);
    image.Unlock();
    return texel;
}

class g2dImageTest : public g2dScreenFixture {
  protected:
    void SetUp() override {
        g2dScreenFixture::SetUp();
        g2dScreen::InitWindowed(640, 480, 0, 0);
    }
    fsTestFolder m_folder;
};

} // namespace

TEST_F(g2dImageTest, ImagesAreCutToTheScreenAndToThemselves) {
    // 20 x 10 pixels whose blue channel is the column.
    std::vector<u8> columns;
    for (int i = 0; i < 200; ++i)
        columns.insert(columns.end(), {0, 0, static_cast<u8>(i % 20)});
    g2dImage image;
    g2dLoadImage(m_folder.Write("columns.bmp", g2dImageBuilder::Bmp(20, 10, columns)), image);
    struct Case {
        i32 x, y, left, top, right, bottom;
        const char* copy; // null: no device call at all
    };
    const Case cases[] = {
        {-10, 5, 0, 0, 20, 10, "CopyRects 10 0 20 10 -> 0 5"},
        {630, 475, 0, 0, 20, 10, "CopyRects 0 0 10 5 -> 630 475"},
        {630, 470, -5, -5, 30, 30, "CopyRects 0 0 5 5 -> 635 475"},
        {100, 100, 15, 2, 40, 4, "CopyRects 15 2 20 4 -> 100 100"},
        {-20, 0, 0, 0, 20, 10, nullptr},
        {640, 0, 0, 0, 20, 10, nullptr},
        {0, 480, 0, 0, 20, 10, nullptr},
        {0, 0, 25, 0, 30, 10, nullptr},
        {INT32_MAX, INT32_MAX, 0, 0, 20, 10, nullptr},
        {INT32_MIN, 0, 0, 0, 20, 10, nullptr},
        {0, 0, INT32_MIN, INT32_MIN, 20, 10, nullptr},
    };
    for (const Case& c : cases) {
        m_d3d.GetLog().clear();
        g2dScreen::DrawImageRect(c.x, c.y, c.left, c.top, c.right, c.bottom, image);
        if (c.copy)
            EXPECT_EQ(Calls("CopyRects"), std::vector<std::string>{c.copy});
        else
            EXPECT_TRUE(m_d3d.GetLog().empty()) << m_d3d.GetLog().front();
    }
    // The image at x = -10 shows its column 10 at the left edge.
    g2dScreen::DrawImage(-10, 5, image);
    EXPECT_EQ(Device().GetPixel(0, 5), 0xFF00000Au);
    const u8 grey[3] = {0x10, 0x20, 0x30};
    g2dScreen::Clear(grey);
    EXPECT_EQ(Device().GetPixel(0, 5), 0xFF102030u);
}

TEST_F(g2dImageTest, FilesLoadIntoTheChosenFormat) {
    const std::vector<u8> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 8, 16, 24, 255, 255, 255, 0, 0, 0};
    g2dImage image;
    g2dLoadImage(m_folder.Write("a.bmp", g2dImageBuilder::Bmp(3, 2, rgb)), image);
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetHeight(), 2);
    EXPECT_EQ(TexelAt(image, 2, 0), 0x0000FFu);
    EXPECT_EQ(TexelAt(image, 0, 1), 0x081018u);
    EXPECT_EQ(image.GetLocator(), m_folder.Locator("a.bmp"));

    const fsLocator png =
        m_folder.Write("b.png", g2dImageBuilder::Png(1, 8, 6, {std::string("\xFF\x00\x00\x80", 4)}));
    g2dLoadPNGImage(image, png, FormatOf(plD3dFormat::A4R4G4B4), FormatOf(plD3dFormat::R5G6B5));
    EXPECT_EQ(image.GetPixelFormat(), FormatOf(plD3dFormat::A4R4G4B4));
    EXPECT_EQ(TexelAt(image, 0, 0), 0x8F00u);
    g2dLoadBMPImage(image, m_folder.Locator("a.bmp"), FormatOf(plD3dFormat::R5G6B5));
    EXPECT_EQ(TexelAt(image, 0, 0), 0xF800u);

    EXPECT_THROW(g2dLoadImage(m_folder.Locator("missing.png"), image), fsFileDoesntExistX);
    const fsLocator text = m_folder.Write("c.txt", "hello");
    EXPECT_THROW(g2dLoadImage(text, image), g2dUnknownImageFileTypeX);
    EXPECT_THROW(g3dGetImageFileType(text), g3dUnknownImageFileTypeX);
    EXPECT_EQ(g3dGetImageFileType(png), 1);
}

TEST_F(g2dImageTest, ASurfaceLeftAliveIsWarnedAboutAtShutDown) {
    {
        g2dImage image(4, 4, *g2dScreen::GetPixelFormat());
        g2dScreen::Deinitialize();
        EXPECT_TRUE(m_log.Holds("g_pdevice didn't really release, refcount of 1"));
    }
    // Without a device an image has no surface and nothing to lock.
    g2dImage image(4, 4, *g2dScreen::GetPixelFormat());
    EXPECT_EQ(image.GetSurface(), nullptr);
    EXPECT_EQ(image.Lock(), nullptr);
}

TEST(g3dHardware, TheAdapterNameIsRecordedAndNoFactoryIsNoHardware) {
    plFakeD3d d3d;
    plInstallServices({.d3d = &d3d});
    EXPECT_EQ(g3dGetAdapterName(), "");
    d3d.SetAdapterName("Fake adapter");
    std::string name;
    g3dCheckHardware(name);
    EXPECT_EQ(g3dGetAdapterName(), "Fake adapter");
    d3d.SetAvailable(false);
    EXPECT_THROW(g3dCheckHardware(name), g3dNo3DHardwareX);
    EXPECT_EQ(g3dNo3DHardwareX().GetCode(), 0xE01B0004u);
    EXPECT_EQ(d3d.GetRefCount(), 0u);
    plInstallServices({});
}
