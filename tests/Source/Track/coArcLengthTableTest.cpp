#include "Source/Track/coArcLengthTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace {
coArcLengthTable TableOf(const std::vector<maVector3d>& points) {
    coArcLengthTable table;
    table.Build(points.data(), static_cast<int>(points.size()));
    return table;
}
} // namespace

TEST(coArcLengthTable, MapsFractionsChordByChord) {
    // Chords of 1, 3 and 4: fractions 1/8, 1/2, 1.
    const coArcLengthTable table =
        TableOf({maVector3d(0, 0, 0), maVector3d(1, 0, 0), maVector3d(4, 0, 0), maVector3d(4, 0, 4)});
    EXPECT_FLOAT_EQ(table.GetTotal(), 8.0f);
    const float step = 1.0f / 3.0f;
    EXPECT_EQ(table.ParamAt(0.0f), 0.0f);
    // A fraction on a chord boundary starts the next chord.
    EXPECT_EQ(table.ParamAt(0.125f), step);
    EXPECT_FLOAT_EQ(table.ParamAt(0.0625f), 0.5f * step);
    EXPECT_FLOAT_EQ(table.ParamAt(0.3125f), step + 0.5f * step);
    EXPECT_NEAR(table.ParamAt(1.0f), 1.0f, 1e-6f);
    // Past the last chord (a rounding excess included) the curve's end.
    EXPECT_EQ(std::tuple(table.ParamAt(1.0001f), table.ParamAt(7.0f)), std::tuple(1.0f, 1.0f));
    // Empty and one-point tables give the end.
    EXPECT_EQ(coArcLengthTable().ParamAt(0.5f), 1.0f);
    EXPECT_EQ(TableOf({maVector3d(1, 2, 3)}).ParamAt(0.25f), 1.0f);
}

TEST(coArcLengthTable, CoincidentPointsGiveUniformFractionsNotNaN) {
    const coArcLengthTable table = TableOf(std::vector<maVector3d>(20, maVector3d(5, 5, 5)));
    EXPECT_EQ(table.GetTotal(), 0.0f);
    for (float fraction : table.GetFractions())
        EXPECT_FLOAT_EQ(fraction, 1.0f / 19.0f);
    EXPECT_NEAR(table.ParamAt(0.5f), 0.5f, 1e-6f);

    // A zero chord first: a negative fraction lands on the start, not on -inf.
    const coArcLengthTable zeroFirst =
        TableOf({maVector3d(0, 0, 0), maVector3d(0, 0, 0), maVector3d(0, 0, 2)});
    EXPECT_EQ(std::tuple(zeroFirst.ParamAt(-0.5f), zeroFirst.ParamAt(0.0f)), std::tuple(0.0f, 0.5f));
    EXPECT_FALSE(std::isnan(zeroFirst.ParamAt(-1e-7f)));

    // A zero chord inside: its boundary fraction starts the chord after it.
    const coArcLengthTable zeroInside =
        TableOf({maVector3d(0, 0, 0), maVector3d(1, 0, 0), maVector3d(1, 0, 0), maVector3d(2, 0, 0)});
    EXPECT_EQ(std::tuple(zeroInside.ParamAt(0.5f), zeroInside.ParamAt(0.75f)),
              std::tuple(2.0f / 3.0f, 5.0f / 6.0f));
}
