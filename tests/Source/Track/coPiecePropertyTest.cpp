// Properties every flat piece keeps over a grid of its parameters, slopes and rolls, limits included.
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coPieceLimits.h"

#include "coTrackTestSupport.h"

#include <functional>

namespace {

using PieceMaker = std::function<std::unique_ptr<coCoasterPiece>()>;

std::vector<PieceMaker> AllShapes() {
    std::vector<PieceMaker> makers;
    for (float length : {GetStraightLengthMin(), 17.0f, GetStraightLengthMax()}) {
        makers.push_back([length] {
            auto piece = std::make_unique<coCoasterPieceStraight>();
            piece->SetRunLength(length);
            return piece;
        });
    }
    for (float angle : {GetTurnAngleMin(), coDegrees(90.0f), GetTurnAngleMax()}) {
        for (float sign : {1.0f, -1.0f}) {
            for (float radius : {GetTurnRadiusMin(), GetTurnRadiusMax()}) {
                makers.push_back([=] {
                    auto piece = std::make_unique<coCoasterPieceTurn>();
                    piece->SetAngle(sign * angle);
                    piece->SetRadius(radius);
                    return piece;
                });
            }
        }
    }
    for (float angle : {GetShallowTurnAngleMin(), GetShallowTurnAngleMax()}) {
        for (float sign : {1.0f, -1.0f}) {
            for (float length : {GetStraightLengthMin(), GetStraightLengthMax()}) {
                makers.push_back([=] {
                    auto piece = std::make_unique<coCoasterPieceShallowTurn>();
                    piece->SetAngle(sign * angle);
                    piece->SetRunLength(length);
                    return piece;
                });
            }
        }
    }
    return makers;
}

maVector3d Row(const maMatrix4d& m, int row) {
    return maVector3d(m.m[row * 4], m.m[row * 4 + 1], m.m[row * 4 + 2]);
}

// Rows 0 to 2 orthonormal with up = along x side; positive roll lifts the side axis.
void ExpectFrameSound(const coCoasterPiece& piece, float s, float roll, float eps) {
    const maMatrix4d frame = piece.FrameAt(s);
    for (float element : frame.m)
        ASSERT_TRUE(std::isfinite(element)) << "s " << s;
    const maVector3d side = Row(frame, 0), up = Row(frame, 1), along = Row(frame, 2);
    EXPECT_NEAR(side.Length(), 1.0f, eps) << "s " << s;
    EXPECT_NEAR(up.Length(), 1.0f, eps) << "s " << s;
    EXPECT_NEAR(along.Length(), 1.0f, eps) << "s " << s;
    EXPECT_NEAR(maDot(side, along), 0.0f, eps) << "s " << s;
    EXPECT_NEAR(maDot(up, along), 0.0f, eps) << "s " << s;
    maVector3d cross;
    along.Cross(side, cross);
    ExpectVectorNear(up, cross, eps);
    if (roll > 0.01f && roll < 3.13f) {
        EXPECT_GT(side.y, 0.0f) << "s " << s;
    }
    if (roll < -0.01f && roll > -3.13f) {
        EXPECT_LT(side.y, 0.0f) << "s " << s;
    }
}

const float kSlopes[] = {-coDegrees(75.0f), -coDegrees(30.0f), 0.0f, coDegrees(10.0f), coDegrees(75.0f)};
const float kRolls[] = {-maPiF, -1.0f, 0.0f, 0.5f, maPiF};

} // namespace

TEST(coPieceProperties, LonePiecesRunFromStartToEndWithSoundFrames) {
    for (const PieceMaker& make : AllShapes()) {
        for (float slope : kSlopes) {
            for (float roll : kRolls) {
                auto piece = make();
                piece->SetRoll(roll);
                piece->SetSlope(slope);
                piece->Place(maVector3d(3, 10, -4), 2.5f);
                SCOPED_TRACE(testing::Message() << typeid(*piece).name() << " span " << piece->GetSpan()
                                                << " slope " << slope << " roll " << roll);
                ExpectVectorNear(piece->PointAt(0.0f), piece->GetStart(),
                                 coPositionTolerance(piece->GetStart()));
                ExpectVectorNear(piece->PointAt(1.0f), piece->GetEnd(), coPositionTolerance(piece->GetEnd()));
                EXPECT_GT(piece->GetLength(), 0.0f);
                EXPECT_GE(piece->GetLength() * 1.0001f, (piece->GetEnd() - piece->GetStart()).Length());
                for (int i = 0; i <= 20; ++i)
                    ExpectFrameSound(*piece, static_cast<float>(i) / 20.0f, roll, 1e-5f);
            }
        }
    }
}

TEST(coPieceProperties, ChainsAreContinuousAcrossEveryJoint) {
    const std::vector<PieceMaker> shapes = AllShapes();
    for (size_t first = 0; first < shapes.size(); first += 3) {
        for (int modes = 0; modes < 27; ++modes) {
            for (int inCircuit = 0; inCircuit < 2; ++inCircuit) {
                std::vector<std::unique_ptr<coCoasterPiece>> owned;
                for (size_t i = 0; i < 3; ++i)
                    owned.push_back(shapes[(first + 5 * i) % shapes.size()]());
                std::vector<coCoasterPiece*> chain;
                for (size_t i = 0; i < 3; ++i) {
                    coCoasterPiece* piece = owned[i].get();
                    piece->SetRollBlend((modes / (i == 0 ? 1 : i == 1 ? 3 : 9)) % 3);
                    piece->SetRoll(kRolls[(first + 2 * i + modes) % 5]);
                    piece->SetSlope(kSlopes[(first + 3 * i + modes) % 5]);
                    chain.push_back(piece);
                }
                if (inCircuit)
                    coCircuitPieces().push_back(std::move(owned[0]));
                coLinkPieces({chain[0], chain[1], chain[2]});
                SCOPED_TRACE(testing::Message()
                             << "shape " << first << " modes " << modes << " circuit " << inCircuit);
                ExpectContinuousJoints(chain);
                for (coCoasterPiece* piece : chain) {
                    for (int i = 0; i <= 20; ++i)
                        ExpectFrameSound(*piece, static_cast<float>(i) / 20.0f, 0.0f, 1e-4f);
                }
                coCircuitPieces().clear();
            }
        }
    }
}

TEST(coPieceProperties, SteepJointsFromFilesStayContinuousAndFinite) {
    // Slopes past 75 degrees (only from files) take the fillet built from the sloped runs, which also
    // shifts the joint along the track.
    coCoasterPieceStraight straight;
    coCoasterPieceTurn turn;
    coCoasterPieceShallowTurn shallow;
    straight.SetSlope(coDegrees(80.0f));
    turn.SetSlope(coDegrees(-85.0f));
    shallow.SetSlope(0.0f);
    turn.SetRoll(1.0f);
    coLinkPieces({&straight, &turn, &shallow});
    ExpectContinuousJoints({&straight, &turn, &shallow});
    EXPECT_NE(VerticalProfileOffset(turn, 0.01f, nullptr).x, 0.0f);
    for (const coCoasterPiece* piece :
         {static_cast<const coCoasterPiece*>(&straight), static_cast<const coCoasterPiece*>(&turn),
          static_cast<const coCoasterPiece*>(&shallow)}) {
        for (int i = 0; i <= 40; ++i) {
            for (float element : piece->FrameAt(static_cast<float>(i) / 40.0f).m)
                EXPECT_TRUE(std::isfinite(element));
        }
    }
}
