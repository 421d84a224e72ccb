#include "Tools/Image/toolGuiSkin.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace {

std::map<std::string, toolImage> Skin() {
    std::map<std::string, toolImage> images;
    for (const toolDefaultTexture& texture : toolGuiSkin())
        images[texture.path] = texture.image;
    return images;
}

u8 Alpha(const toolImage& image, int x, int y) {
    return image.pixels[static_cast<size_t>((y * image.width + x) * 4 + 3)];
}

} // namespace

TEST(toolGuiSkin, ButtonsAndCheckBoxesComeInEveryStateFileOfOneSize) {
    const auto skin = Skin();
    const struct {
        const char* stem;
        int size; // width * 1000 + height
    } families[] = {{"button", 128032}, {"checkbox", 24024}, {"checkbox_c", 24024}, {"ok", 128032},
                    {"cancel", 128032}, {"tab", 96024},      {"tab_a", 96024},      {"listrow", 128020}};
    std::set<std::vector<u8>> looks;
    for (const auto& family : families)
        for (const char* suffix : {"_i", "_o", "_p", "_d"}) {
            const std::string name = std::string("Data/GUI/") + family.stem + suffix + ".png";
            const auto found = skin.find(name);
            ASSERT_NE(found, skin.end()) << name;
            EXPECT_EQ(found->second.width * 1000 + found->second.height, family.size) << name;
            looks.insert(found->second.pixels);
        }
    // Every state looks different, and a ticked box from an unticked one, an active tab from another.
    EXPECT_EQ(looks.size(), 32u);
}

TEST(toolGuiSkin, TheBadgeFadesOutAtItsEdge) {
    const auto skin = Skin();
    const toolImage& badge = skin.at("Data/GUI/badge.png");
    ASSERT_EQ(badge.channels, 4);
    EXPECT_EQ(std::tuple(Alpha(badge, 32, 32), Alpha(badge, 0, 0)), std::tuple(255, 0));
    std::set<u8> edge;
    for (int x = 0; x < 32; ++x)
        edge.insert(Alpha(badge, x, 32));
    // Soft: many steps between clear and opaque along a radius.
    EXPECT_GT(edge.size(), 4u);
    EXPECT_LT(Alpha(badge, 0, 32), 32);
    EXPECT_TRUE(edge.count(255));
}

TEST(toolGuiSkin, PointersAreClearAroundAnOutlinedShapeFromTheHotSpot) {
    const auto skin = Skin();
    for (const char* name : {"Data/GUI/Cursor.png", "Data/GUI/CursorWait.png"}) {
        const toolImage& pointer = skin.at(name);
        ASSERT_EQ(pointer.width * 1000 + pointer.height + pointer.channels * 1000000, 4032032) << name;
        EXPECT_EQ(Alpha(pointer, 2, 2), 255) << name;
        EXPECT_EQ(pointer.pixels[(2 * 32 + 2) * 4], 0) << name; // the rim at the tip is black
        EXPECT_EQ(Alpha(pointer, 1, 1), 0) << name;
        EXPECT_EQ(Alpha(pointer, 31, 31), 0) << name;
    }
    // The arrow's inside is white.
    EXPECT_EQ(skin.at("Data/GUI/Cursor.png").pixels[(12 * 32 + 5) * 4], 255);
}
