#include "Engine/Core/Env/envBreakLine.h"

#include <gtest/gtest.h>

#include <string>

// Each unit one column wide: rows of at most `width` units.
TEST(envBreakLine, RowsBreakAtSpacesAndBetweenAPathsNamesAndInsideANameOnlyWhenItIsWiderThanARow) {
    const struct {
        std::u16string line;
        size_t width;
        std::vector<std::u16string> rows;
    } cases[] = {
        {u"short", 10, {u"short"}},
        {u"", 5, {u""}},
        {u"the game has to end", 8, {u"the game", u"has to", u"end"}},
        {u"/home/player/Zandrel Trackwrighting/Loopvane/Saves",
         20,
         {u"/home/player/Zandrel", u"Trackwrighting/", u"Loopvane/Saves"}},
        {u"/tmp/x/Data/GUI/gui.pak", 12, {u"/tmp/x/Data/", u"GUI/gui.pak"}},
        // A name wider than a row is the only one broken inside.
        {u"/a/Trackwrighting/b", 8, {u"/a/", u"Trackwri", u"ghting/b"}},
        // The root's '/' and a '/' after a space begin a word: no place to break.
        {u"/abcdefgh", 4, {u"/abc", u"defg", u"h"}},
        {u"cut /tmp/x", 6, {u"cut", u"/tmp/x"}},
        // Rows take a character each where none fits.
        {u"abc", 0, {u"a", u"b", u"c"}},
    };
    for (const auto& c : cases) {
        const auto fits = [&c](std::u16string_view row) { return row.size() <= c.width; };
        const std::vector<std::u16string_view> rows = envBreakLine(c.line, fits);
        EXPECT_EQ(std::vector<std::u16string>(rows.begin(), rows.end()), c.rows)
            << std::string(c.line.begin(), c.line.end()) << " in " << c.width;
    }
}
