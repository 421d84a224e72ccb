#include "Engine/GUI/Xui/xuiKeyboardLayout.h"
#include "xuiKeyboardFixture.h"

#include <utility>
#include <vector>

TEST(xuiKeyPrototype, ImagesListInStateOrderAndCopiesAreIndependent) {
    xuiKeyPrototypeToggle toggle;
    std::vector<i32> states{7};
    toggle.GetImageStates(states);
    EXPECT_TRUE(states.empty());

    fsLocator pressed, idle;
    pressed.AppendComponent("pressed.png");
    idle.AppendComponent("idle.png");
    toggle.SetImage(3, pressed);
    toggle.SetImage(0, idle);
    toggle.SetTransparency(0.5f, 3);
    toggle.SetTransparency(0.25f, 3);
    toggle.GetImageStates(states);
    EXPECT_EQ(states, (std::vector<i32>{0, 3}));
    EXPECT_EQ(toggle.GetTransparency(3), 0.25f);

    xuiKeyPrototypeToggle copy = toggle;
    copy.SetImage(0, pressed);
    copy.SetImage(5, pressed);
    copy.SetToggleValue(4);
    toggle.GetImageStates(states);
    EXPECT_EQ(states, (std::vector<i32>{0, 3}));
    EXPECT_EQ(toggle.GetImage(0), idle);
    EXPECT_EQ(toggle.GetToggleValue(), 0u);
}

TEST_F(xuiKeyboardTest, GridsPlaceFullRowsFromTheOffsetAndRefuseWhatTheyCannotDivide) {
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
    const struct {
        const char* what;
        i32 captions, columns, width, height, direction;
        std::vector<std::pair<i32, std::pair<f32, f32>>> keys; // index, (x, y)
        size_t count;
    } cases[] = {
        {"26 in 13",
         26,
         13,
         390,
         60,
         0,
         {{0, {10, 20}}, {12, {370, 20}}, {13, {10, 50}}, {25, {370, 50}}},
         26},
        {"10 in 4", 10, 4, 400, 100, 0, {{7, {310, 70}}, {8, {10, 120}}, {9, {110, 120}}}, 10},
        {"uneven width", 3, 3, 100, 30, 0, {{1, {43, 20}}, {2, {76, 20}}}, 3},
        {"short row", 3, 5, 500, 60, 0, {{2, {210, 20}}}, 3},
        {"no columns", 26, 0, 390, 60, 0, {}, 0},
        {"negative columns", 26, -2, 390, 60, 0, {}, 0},
        {"empty set", 0, 13, 390, 60, 0, {}, 0},
        {"right to left", 26, 13, 390, 60, 1, {}, 0},
        {"top to bottom", 26, 13, 390, 60, 2, {}, 0},
    };
    for (const auto& c : cases) {
        xuiKeyboardLayoutGrid grid;
        grid.GetLayout().SetCharacterSetPath(CharacterSet("set.tsf", alphabet.substr(0, c.captions)));
        grid.GetLayout().SetStandardLayoutSize(c.width, c.height);
        grid.GetLayout().SetLayoutDirection(c.direction);
        grid.SetOffsetPosition(10.0f, 20.0f, 0.5f);
        grid.SetNumColumns(c.columns);
        const std::vector<xuiPlacedKey> keys = grid.PlaceKeys();
        ASSERT_EQ(keys.size(), c.count) << c.what;
        for (const auto& [index, at] : c.keys) {
            const xuiPlacedKey& key = keys[static_cast<size_t>(index)];
            EXPECT_EQ(std::pair(key.position.x, key.position.y), at) << c.what << " key " << index;
            EXPECT_EQ(key.position.z, 0.5f) << c.what;
            EXPECT_EQ(key.caption, envString(alphabet.substr(static_cast<size_t>(index), 1).c_str()))
                << c.what;
        }
    }
    EXPECT_EQ(log.Count("**Warning**"), 0u);

    // A set that is missing or damaged costs its keys with one warning, every time it is asked.
    folder.Write("damaged.tsf", "\x02KSTS");
    for (const char* name : {"missing.tsf", "damaged.tsf"}) {
        xuiKeyboardLayoutGrid grid;
        grid.GetLayout().SetCharacterSetPath(folder.Locator(name));
        grid.SetNumColumns(13);
        EXPECT_TRUE(grid.PlaceKeys().empty()) << name;
        EXPECT_TRUE(grid.PlaceKeys().empty()) << name;
        EXPECT_EQ(grid.GetLayout().GetCharacter(0).GetLength(), 0u) << name;
        EXPECT_EQ(log.Count(name), 1u) << name;
    }
}
