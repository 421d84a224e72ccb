#include "Tools/Image/toolGuiSkin.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

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

TEST(toolGuiSkin, ButtonsComeInEveryStateFileOfOneSize) {
    const auto skin = Skin();
    std::set<std::vector<u8>> looks;
    for (const char* suffix : {"_i", "_o", "_p", "_d"}) {
        const auto found = skin.find(std::string("Data/GUI/button") + suffix + ".png");
        ASSERT_NE(found, skin.end()) << suffix;
        EXPECT_EQ(found->second.width * 1000 + found->second.height, 128032);
        looks.insert(found->second.pixels);
    }
    EXPECT_EQ(looks.size(), 4u);
}

TEST(toolGuiSkin, TheBadgeFadesOutAtItsEdge) {
    const auto skin = Skin();
    const toolImage& badge = skin.at("Data/GUI/badge.png");
    ASSERT_EQ(badge.channels, 4);
    EXPECT_EQ(Alpha(badge, 32, 32), 255);
    EXPECT_EQ(Alpha(badge, 0, 0), 0);
    std::set<u8> edge;
    for (int x = 0; x < 32; ++x)
        edge.insert(Alpha(badge, x, 32));
    // Soft: many steps between clear and opaque along a radius.
    EXPECT_GT(edge.size(), 4u);
    EXPECT_LT(Alpha(badge, 0, 32), 32);
    EXPECT_TRUE(edge.count(255));
}
