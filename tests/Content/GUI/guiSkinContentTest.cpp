#include "Content/GUI/guiPakPictures.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

// The GUI's default skin as the engine's PNG reader sees it: the four button states alike in size, RGB,
// the value widgets' boxes and bars RGB, and the badge, the round and the arrow images with alpha.
TEST(guiSkinContent, EveryImageReadsThroughThePngReader) {
    std::map<std::string, g2dPixelRows> images;
    for (const std::string& entry : guiPak().GetEntryNames())
        if (entry.find('/') == std::string::npos)
            images[entry] = guiReadPakPicture(entry);
    for (const char* name : {"button_i.png", "button_o.png", "button_p.png", "button_d.png"}) {
        ASSERT_TRUE(images.count(name)) << name;
        EXPECT_EQ(images[name].width * 1000 + images[name].height, 128032u) << name;
        EXPECT_FALSE(images[name].hasAlpha) << name;
    }
    for (const char* name : {"checkbox_i.png", "checkbox_c_d.png", "slider_track.png", "slider_thumb.png",
                             "progress.png", "progress_bg.png"}) {
        ASSERT_TRUE(images.count(name)) << name;
        EXPECT_FALSE(images[name].hasAlpha) << name;
    }
    for (const char* name : {"frame.png", "highlight.png", "badge.png", "radio.png", "radio_c.png",
                             "increase.png", "decrease.png"}) {
        ASSERT_TRUE(images.count(name)) << name;
        EXPECT_TRUE(images[name].hasAlpha) << name;
    }
}
