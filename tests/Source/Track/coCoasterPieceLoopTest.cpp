#include "Source/Track/coCoasterPieceLoop.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"

#include "Source/Track/coTrackTestSupport.h"

namespace {
// Opens the centre line's curve parameter, which the loop's numbers are given in.
class coOpenLoop : public coCoasterPieceLoop {
  public:
    using coCoasterPieceLoop::Evaluate;
};
} // namespace

TEST(coCoasterPieceLoop, DefaultLoop) {
    coOpenLoop loop;
    loop.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(loop.GetEnd(), maVector3d(4, 0, 30), 1e-6f);
    EXPECT_EQ(loop.GetEndHeading(), 0.0f);
    // The top is at curve parameter 0.5: the profile's (0.5034203 L, 1.136672 H) and half the slide aside.
    maVector3d direction;
    const maVector3d top = loop.Evaluate(0.5f, &direction);
    ExpectVectorNear(top, maVector3d(2.0f, 34.100156f, 15.102608f), 1e-4f);
    ExpectVectorNear(direction, maVector3d(0, 0, -1), 1e-5f);
    // Half the length is not the top: the arc fraction lands 0.18 from it.
    EXPECT_NEAR((loop.PointAt(0.5f) - top).Length(), 0.1809f, 2e-3f);
    EXPECT_NEAR(loop.GetLength(), 112.085f, 2e-2f);
    // Upside down over the top: the frame's up points down, its side stays N(h).
    const maMatrix4d frame = loop.FrameAt(0.5f);
    EXPECT_LT(frame.m[5], -0.99f);
    ExpectVectorNear(coFrameRow(frame, 0), maVector3d(1, 0, 0), 1e-6f);
}

TEST(coCoasterPieceLoop, DegenerateLoopsFromFilesStayFinite) {
    // A length of 0 gives no progress to share the fillet by; the curve parameter stands in.
    coTestLinePiece before(10.0f);
    coCoasterPieceLoop loop;
    coTestLinePiece after(10.0f);
    before.SetSlope(0.3f);
    loop.SetRunLength(0.0f);
    coLinkPieces({&before, &loop, &after});
    ExpectFiniteFrames(loop);
    EXPECT_TRUE(std::isfinite(loop.GetLength()));
    ExpectVectorNear(loop.GetEnd(), loop.GetStart() + maVector3d(4, 0, 0), 1e-5f);

    loop.SetHeight(0.0f);
    loop.SetSlide(0.0f);
    loop.Build();
    ExpectFiniteFrames(loop);
    EXPECT_EQ(loop.GetLength(), 0.0f);
}
