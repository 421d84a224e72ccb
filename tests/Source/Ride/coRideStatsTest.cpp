#include "Source/Ride/coRideStats.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Ride/coRideTestSupport.h"

#include <map>
#include <tuple>

namespace {

class coRideStatsTest : public coRideCircuitTest {
  protected:
    void TearDown() override {
        coRideSetPropTracking(false);
        coSetRideProps(nullptr);
        coRideCircuitTest::TearDown();
    }

    static float Stat(int index) { return coGetRideStats()[index]; }
    // Counted steps: the ride time is 0.04 s for each.
    static int Steps() { return static_cast<int>(std::lround(Stat(coStatRideTime) / 0.04f)); }
};

// Props as points with a radius: the box is the point itself.
class coFakeProps : public coRideProps {
  public:
    struct Prop {
        maVector3d at;
        float radius;
        bool ordered;
    };
    void CollectAll(std::vector<const coProp*>& props) const override {
        props.clear();
        for (const Prop& prop : list)
            props.push_back(reinterpret_cast<const coProp*>(&prop));
    }
    float GetProximityRadius(const coProp* prop) const override { return Get(prop).radius; }
    maBoundingBox GetBounds(const coProp* prop) const override {
        return maBoundingBox(Get(prop).at, Get(prop).at);
    }
    bool GetOrderingFlag(const coProp* prop) const override { return Get(prop).ordered; }
    static const Prop& Get(const coProp* prop) { return *reinterpret_cast<const Prop*>(prop); }
    const coProp* Handle(size_t i) const { return reinterpret_cast<const coProp*>(&list[i]); }

    std::vector<Prop> list;
};

} // namespace

TEST_F(coRideStatsTest, TheReferenceSquareClosedAndOpen) {
    BuildR1(true);
    coRideComputeStats();
    // Speeds; 8^2 / (9.81 x 15) on the turns (the fourth decimal is float noise); the G reset counts as
    // the first measurement; the heights of the lead car's frame; length and time (544 steps).
    const std::pair<int, float> exact[] = {{coStatLowestSpeed, 0.0f},     {coStatHighestSpeed, 8.0f},
                                           {coStatAverageSpeed, 8.0f},    {coStatLowestLateralG, 0.0f},
                                           {coStatLowestVerticalG, 0.0f}, {coStatLowestForwardG, 0.0f},
                                           {coStatLowestHeight, 2.0f},    {coStatHighestHeight, 2.0f}};
    for (const auto& [stat, value] : exact)
        EXPECT_EQ(Stat(stat), value) << stat;
    EXPECT_NEAR(Stat(coStatHighestLateralG), 0.4350f, 2e-4f);
    EXPECT_NEAR(Stat(coStatHighestVerticalG), 1.0f, 1e-5f);
    EXPECT_NEAR(Stat(coStatCircuitLength), 174.221f, 1e-3f);
    EXPECT_NEAR(Stat(coStatRideTime), 21.76f, 2e-4f);
    EXPECT_EQ(Steps(), 544);
    // Every piece was left once; the start stands on the first Turn, which is left first, about 18.555
    // units later, and the first piece last, coming round to the start.
    EXPECT_EQ(coRideStatsPieces().size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const coRidePieceStats& entry = coRideStatsFind(coCircuitPieceAt(i));
        EXPECT_EQ(std::tuple(entry.measured, entry.speed, entry.height), std::tuple(1, 8.0f, 2.0f));
    }
    EXPECT_NEAR(coRideStatsFind(coCircuitPieceAt(1)).time, 18.555f / 8.0f, 0.05f);
    EXPECT_NEAR(std::fabs(coRideStatsFind(coCircuitPieceAt(3)).g.x), 0.435f, 1e-3f);
    EXPECT_GT(coRideStatsFind(coCircuitPieceAt(0)).time, 20.0f);

    // Open, the run ends after the wrap.
    coCircuitClear();
    BuildR1(false);
    coRideComputeStats();
    EXPECT_EQ(std::tuple(Steps(), coRideStatsPieces().size()), std::tuple(466, 8u));

    // Empty, the record is reset.
    coCircuitClear();
    coRideComputeStats();
    EXPECT_EQ(std::tuple(Stat(coStatCircuitLength), Stat(coStatRideTime), Stat(coStatLowestSpeed),
                         Stat(coStatHighestHeight), coRideStatsPieces().empty()),
              std::tuple(0.0f, 0.0f, 10000.0f, -10000.0f, true));
}

TEST_F(coRideStatsTest, LevelTrackWithoutAChainEndsAfterOneStepAndSkippedPiecesGetNoEntry) {
    AddStraight(40.0f);
    AddStraight(40.0f);
    coRideComputeStats();
    EXPECT_EQ(std::tuple(Steps(), Stat(coStatHighestSpeed)), std::tuple(1, 0.0f));
    ASSERT_EQ(coRideStatsPieces().size(), 1u);
    EXPECT_EQ(coRideStatsPieces().begin()->first, coCircuitFirstPiece());
    // A piece without an entry answers with the unmeasured default.
    EXPECT_EQ(coRideStatsFind(coCircuitPieceAt(1)).measured, 0);

    // A piece passed within one step is never stood on.
    coCircuitClear();
    AddStraight(30.0f, coElementChainLift);
    coCoasterPiece* sliver = AddStraight(0.05f, coElementChainLift);
    AddStraight(30.0f);
    coRideComputeStats();
    EXPECT_EQ(coRideStatsFind(sliver).measured, 0);
    EXPECT_EQ(coRideStatsFind(coCircuitPieceAt(0)).measured, 1);
}

TEST_F(coRideStatsTest, ACircuitShorterThanTheStartPositionStillEnds) {
    // A closed square of four short Straights and four tight Turns, about 16 units round: the start
    // position of 25 lies beyond its end.
    for (int i = 0; i < 4; ++i) {
        AddStraight(2.5f, coElementChainLift);
        AddTurn(90.0f, 0.9f, coElementChainLift);
    }
    coCircuitClose();
    ASSERT_TRUE(coCircuitIsClosed());
    const float length = coCircuitTotalLength();
    ASSERT_LT(length, 25.0f);
    coRideComputeStats();
    // One lap at 8 units per second, from the wrapped start back to it.
    EXPECT_NEAR(Stat(coStatRideTime), length / 8.0f, 0.05f);
}

TEST_F(coRideStatsTest, ACrawlOfMoreThanFiveSecondsEndsTheRun) {
    // The chain lets go once the last car has left it; the brakes then take the speed down
    // geometrically, never to 0.
    AddStraight(20.0f, coElementChainLift);
    AddStraight(200.0f, coElementBrakes);
    coRideComputeStats();
    const float crawl = std::log(8.0f / 0.01f) / -std::log(1.0f - 4.0f * 0.09f * 0.04f) * 0.04f;
    EXPECT_GT(Stat(coStatRideTime), crawl + 5.0f);
    EXPECT_LT(Stat(coStatRideTime), crawl + 5.0f + 1.5f);
    // The chain's 8, less what the brakes under the first two cars take in the same step.
    EXPECT_FLOAT_EQ(Stat(coStatHighestSpeed), 8.0f * (1.0f - 2.0f * 0.09f * 0.04f));
}

TEST_F(coRideStatsTest, AnEndlessRideStopsAtItsStepCap) {
    // One long chained piece that the train never leaves nor wraps round.
    AddStraight(40000.0f, coElementChainLift);
    coRideComputeStats();
    // 100,000 steps of 0.04 s, summed in float.
    EXPECT_NEAR(Stat(coStatRideTime), 4000.0f, 4.0f);
    EXPECT_EQ(Stat(coStatAverageSpeed), 8.0f);
}

TEST_F(coRideStatsTest, PropsAreTimedWhileTheLeadCarPassesNearThem) {
    // The square runs up x = 0, along z = 35, down x = 50 and back along z = -15; the run starts
    // 5 units into the first Turn, so it meets the second side, then the third, and the first last.
    BuildR1(true);
    coFakeProps props;
    props.list = {{maVector3d(0.0f, 2.0f, 5.0f), 3.0f, true},     // on the first side
                  {maVector3d(25.0f, 2.0f, 35.0f), 3.0f, true},   // on the second
                  {maVector3d(500.0f, 2.0f, 500.0f), 3.0f, true}, // far away
                  {maVector3d(50.0f, 2.0f, 10.0f), 3.0f, false}}; // on the third, not ordered
    coSetRideProps(&props);
    coRideSetPropTracking(true);
    coRideComputeStats();
    // Within 3 units of a point on the track: 6 units at 8 per second.
    EXPECT_NEAR(coRidePropMeasure(props.Handle(0)), 0.75f, 0.041f);
    EXPECT_NEAR(coRidePropMeasure(props.Handle(1)), 0.75f, 0.041f);
    EXPECT_EQ(coRidePropMeasure(props.Handle(2)), 0.0f);
    EXPECT_EQ(std::tuple(coRidePropVisitOrder(props.Handle(1)), coRidePropVisitOrder(props.Handle(3))),
              std::tuple(1, 2));
    // Only ordered props passed before count: the unordered one on the third side does not.
    EXPECT_EQ(coRidePropVisitOrder(props.Handle(0)), 2);
    EXPECT_EQ(coRidePropVisitOrder(props.Handle(2)), 0);

    // The last stay is closed at the end of the run: a prop at the start position is still near then.
    props.list = {
        {maVector3d(15.0f - 15.0f * std::cos(5.0f / 15.0f), 2.0f, 20.0f + 15.0f * std::sin(5.0f / 15.0f)),
         1.0f, true}};
    coRideComputeStats();
    EXPECT_GT(coRidePropMeasure(props.Handle(0)), 0.0f);

    coRideSetPropTracking(false);
    EXPECT_EQ(coRidePropMeasure(props.Handle(0)), 0.0f);
    EXPECT_EQ(coRidePropVisitOrder(props.Handle(0)), 0);
}
