#include "Source/Track/coArcLengthTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

coArcLengthTable TableOf(const std::vector<maVector3d>& points) {
    coArcLengthTable table;
    table.Build(points.data(), static_cast<int>(points.size()));
    return table;
}

} // namespace

TEST(coArcLengthTable, MapsFractionsChordByChord) {
    // Chords of 1, 3 (along x) and 0 ... a table over three chords.
    const coArcLengthTable table =
        TableOf({maVector3d(0, 0, 0), maVector3d(1, 0, 0), maVector3d(4, 0, 0), maVector3d(4, 0, 4)});
    EXPECT_FLOAT_EQ(table.GetTotal(), 8.0f);
    ASSERT_EQ(table.GetFractions().size(), 3u);
    EXPECT_FLOAT_EQ(table.GetFractions()[0], 0.125f);

    const float step = 1.0f / 3.0f;
    EXPECT_EQ(table.ParamAt(0.0f), 0.0f);
    // A fraction on a chord boundary starts the next chord.
    EXPECT_EQ(table.ParamAt(0.125f), step);
    EXPECT_FLOAT_EQ(table.ParamAt(0.0625f), 0.5f * step);
    EXPECT_FLOAT_EQ(table.ParamAt(0.3125f), step + 0.5f * step);
    EXPECT_NEAR(table.ParamAt(1.0f), 1.0f, 1e-6f);
    // Past the last chord (a rounding excess included) the curve's end.
    EXPECT_EQ(table.ParamAt(1.0001f), 1.0f);
    EXPECT_EQ(table.ParamAt(7.0f), 1.0f);
}

TEST(coArcLengthTable, EqualSpacingIsLinearAndEmptyTablesGiveTheEnd) {
    std::vector<maVector3d> line;
    for (int i = 0; i < 20; ++i)
        line.emplace_back(0.0f, 0.0f, static_cast<float>(i));
    const coArcLengthTable table = TableOf(line);
    EXPECT_NEAR(table.ParamAt(0.5f), 0.5f, 1e-6f);
    EXPECT_EQ(table.ParamAt(table.GetFractions()[0]), 1.0f / 19.0f);

    coArcLengthTable empty;
    EXPECT_EQ(empty.GetTotal(), 0.0f);
    EXPECT_EQ(empty.ParamAt(0.0f), 1.0f);
    EXPECT_EQ(empty.ParamAt(0.5f), 1.0f);
    const coArcLengthTable onePoint = TableOf({maVector3d(1, 2, 3)});
    EXPECT_EQ(onePoint.ParamAt(0.25f), 1.0f);
    EXPECT_EQ(TableOf({}).GetFractions().size(), 0u);
}

TEST(coArcLengthTable, CoincidentPointsGiveUniformFractionsNotNaN) {
    const std::vector<maVector3d> same(20, maVector3d(5, 5, 5));
    const coArcLengthTable table = TableOf(same);
    EXPECT_EQ(table.GetTotal(), 0.0f);
    for (float fraction : table.GetFractions())
        EXPECT_FLOAT_EQ(fraction, 1.0f / 19.0f);
    EXPECT_NEAR(table.ParamAt(0.5f), 0.5f, 1e-6f);
    EXPECT_EQ(table.ParamAt(0.0f), 0.0f);

    // A zero chord first: a negative fraction lands on the start, not on -inf.
    const coArcLengthTable zeroFirst =
        TableOf({maVector3d(0, 0, 0), maVector3d(0, 0, 0), maVector3d(0, 0, 2)});
    EXPECT_EQ(zeroFirst.ParamAt(-0.5f), 0.0f);
    EXPECT_EQ(zeroFirst.ParamAt(0.0f), 0.5f);
    EXPECT_FALSE(std::isnan(zeroFirst.ParamAt(-1e-7f)));
}
