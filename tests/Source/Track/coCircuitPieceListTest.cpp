#include "Source/Track/coCircuitPieceList.h"

#include "coTrackTestSupport.h"

TEST(coCircuitPieceList, QueriesOnEmptyOneAndThreePieces) {
    coTestLinePiece outside;
    EXPECT_EQ(coCircuitFirstPiece(), nullptr);
    EXPECT_EQ(coCircuitLastPiece(), nullptr);
    EXPECT_EQ(coCircuitPieceCount(), 0);
    EXPECT_EQ(coCircuitIndexOf(&outside), -1);
    EXPECT_EQ(coCircuitIndexOf(nullptr), -1);

    auto& pieces = coCircuitPieces();
    pieces.push_back(std::make_unique<coTestLinePiece>());
    coCoasterPiece* only = pieces[0].get();
    EXPECT_EQ(coCircuitFirstPiece(), only);
    EXPECT_EQ(coCircuitLastPiece(), only);
    EXPECT_EQ(coCircuitPieceCount(), 1);

    pieces.push_back(std::make_unique<coTestLinePiece>());
    pieces.push_back(std::make_unique<coTestLinePiece>());
    EXPECT_EQ(coCircuitFirstPiece(), only);
    EXPECT_EQ(coCircuitLastPiece(), pieces[2].get());
    EXPECT_EQ(coCircuitPieceAt(1), pieces[1].get());
    EXPECT_EQ(coCircuitIndexOf(pieces[2].get()), 2);
    EXPECT_EQ(coCircuitIndexOf(&outside), -1);
    pieces.clear();
    EXPECT_EQ(coCircuitPieceCount(), 0);
}
