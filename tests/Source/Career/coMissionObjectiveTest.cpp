#include "Source/Career/coMissionObjective.h"

#include "Source/Career/coDescriptionFormat.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"

#include "Source/Career/coCareerTestSupport.h"
#include "Source/Ride/coRideTestSupport.h"

namespace {

class coMissionObjectiveTest : public coRideCircuitTest {
  protected:
    void TearDown() override {
        coPrefs::SetBool(coPrefMetricUnits, m_metric);
        coRideCircuitTest::TearDown();
    }

    std::string Describe(const coMissionObjective& objective) {
        return envStringToNarrow(objective.GetDescription());
    }

    coCareerEnvironment career;
    coFakeMissionWorld world;
    std::unique_ptr<gfTextSet> texts =
        coWriteObjectiveTexts(career.folder, {{0, u"Fly through every ring"},
                                              {1, u"Near a prop for %.1f s"},
                                              {2, u"Use a straight (%d)"},
                                              {8 + 3, u"Use %s S-turns"},
                                              {14 + 1, u"Use %d right turns in a row"},
                                              {20, u"Lowest speed above %.5f %s"},
                                              {26, u"Vertical G above %.2f G"},
                                              {31, u"Highest below %.1f %s"},
                                              {34, u"Ride longer than %d:%04.1f"},
                                              {47, u"Pass the %s for %.0f s"},
                                              {50 + 2, u"Pass the %s as number %d"},
                                              {61, u"The %s shows %s for %.0f s"},
                                              {62, u"An event for %.0f s"},
                                              {64, u"mph"},
                                              {65, u"km/h"},
                                              {66, u"ft"},
                                              {67, u"m"}});
    coRideTestDefinition definition;

  private:
    bool m_metric = coPrefs::GetBool(coPrefMetricUnits);
};

// Counts how often it is asked.
class coCountedObjective : public coMissionObjective {
  public:
    explicit coCountedObjective(bool met) : m_met(met) {}
    bool IsMet() const override {
        ++asked;
        return m_met;
    }
    mutable int asked = 0;

  private:
    bool m_met;
};

} // namespace

TEST(coFormatDescription, ConversionsFlagsAndArgumentsThatDoNotFit) {
    std::vector<std::string> warnings;
    dbgSetLogSink([&](const std::string& line) { warnings.push_back(line); });
    const struct {
        const char16_t* format;
        std::vector<coFormatArg> args;
        const char* expected;
        bool warned;
    } cases[] = {
        {u"%d%% of %i", {i32{42}, i32{-7}}, "42% of -7", false},
        {u"[%5d|%-4d|%05d|%+d]", {i32{12}, i32{3}, i32{-42}, i32{9}}, "[   12|3   |-0042|+9]", false},
        {u"%.2f %8.3e %g %G", {2.0 / 3.0, 1234.5, 0.0001, 1e20}, "0.67 1.234e+03 0.0001 1E+20", false},
        {u"%s and %-6s| %.3s %5s",
         {envString(u"tea"), envString(u"cake"), envString(u"biscuit"), envString(u"é")},
         "tea and cake  | bis     \xe9",
         false},
        {u"%s loops", {i32{3}}, "%s loops", true},
        {u"%d m", {2.5}, "%d m", true},
        {u"%d and %d", {i32{1}}, "1 and %d", true},
        {u"%q %d", {i32{1}, i32{2}}, "%q 1", true},
        {u"100%", {}, "100%", true},
        {u"%999999999d", {i32{1}}, nullptr, false},
    };
    for (const auto& c : cases) {
        warnings.clear();
        envString out;
        switch (c.args.size()) {
        case 0:
            out = coFormatDescription(c.format, {});
            break;
        case 1:
            out = coFormatDescription(c.format, {c.args[0]});
            break;
        case 2:
            out = coFormatDescription(c.format, {c.args[0], c.args[1]});
            break;
        default:
            out = coFormatDescription(c.format, {c.args[0], c.args[1], c.args[2], c.args[3]});
        }
        const std::string narrow = envStringToNarrow(out);
        if (c.expected)
            EXPECT_EQ(narrow, c.expected) << narrow;
        else
            EXPECT_EQ(narrow.size(), 100u); // widths are capped
        EXPECT_EQ(!warnings.empty(), c.warned) << c.expected;
    }
    dbgSetLogSink({});
}

TEST_F(coMissionObjectiveTest, DescriptionsFromTheTextsInThePlayersUnits) {
    coProp* wheel = world.AddProp(maVector3d(1, 2, 3), "wheel", {"still", "spinning"});
    coPrefs::SetBool(coPrefMetricUnits, true);
    EXPECT_EQ(Describe(coStatObjective(0, true, 20.0f, *texts)), "Lowest speed above 72.00000 km/h");
    EXPECT_EQ(Describe(coStatObjective(5, false, 30.0f, *texts)), "Highest below 30.0 m");
    coPrefs::SetBool(coPrefMetricUnits, false);
    const std::pair<std::unique_ptr<coMissionObjective>, const char*> cases[] = {
        {std::make_unique<coStatObjective>(0, true, 20.0f, *texts), "Lowest speed above 44.73872 mph"},
        {std::make_unique<coStatObjective>(5, false, 30.0f, *texts), "Highest below 98.4 ft"},
        {std::make_unique<coStatObjective>(3, true, 2.5f, *texts), "Vertical G above 2.50 G"},
        {std::make_unique<coStatObjective>(7, true, 125.0f, *texts), "Ride longer than 2:05.0"},
        {std::make_unique<coStatObjective>(7, true, 119.97f, *texts), "Ride longer than 2:00.0"},
        {std::make_unique<coStatObjective>(7, true, std::nanf(""), *texts), "Ride longer than 0: nan"},
        {std::make_unique<coStatObjective>(7, true, 1e30f, *texts), nullptr},
        {std::make_unique<coStatObjective>(13, true, 1.0f, *texts), ""},
        {std::make_unique<coTrackCountObjective>(0, 1, false, *texts), "Use a straight (1)"},
        {std::make_unique<coTrackCountObjective>(1, 4, true, *texts), "Use 4 right turns in a row"},
        {std::make_unique<coTrackCountObjective>(12, 2, false, *texts), "Fly through every ring"},
        {std::make_unique<coTrackCountObjective>(3, 2, false, *texts), "Use %s S-turns"},
        {std::make_unique<coPropProximityObjective>(wheel, 4.0f, *texts), "Pass the wheel for 4 s"},
        {std::make_unique<coPropProximityObjective>(nullptr, 4.0f, *texts), "Near a prop for 4.0 s"},
        {std::make_unique<coPropActivationEventObjective>(wheel, 5.0f, 1, *texts),
         "The wheel shows spinning for 5 s"},
        {std::make_unique<coPropActivationEventObjective>(wheel, 5.0f, 9, *texts),
         "The wheel shows  for 5 s"},
        {std::make_unique<coPropActivationEventObjective>(nullptr, 5.0f, 1, *texts), "An event for 5 s"},
        {std::make_unique<coPropOrderingObjective>(nullptr, 2, *texts), "Pass the prop as number 2"},
        {std::make_unique<coPropOrderingObjective>(wheel, -100, *texts), ""},
        {std::make_unique<coRingObjective>(*texts), "Fly through every ring"},
    };
    for (const auto& [objective, expected] : cases) {
        if (expected) {
            EXPECT_EQ(Describe(*objective), expected);
        }
    }
    EXPECT_TRUE(career.Warned("\"%s\" does not fit"));
    coProp* swing = world.AddProp(maVector3d(), "swing");
    coPropProximityObjective near(swing, 1.0f, *texts);
    EXPECT_FALSE(coFakeMissionWorld::Of(swing).tracked);
    coPropOrderingObjective ordered(swing, 1, *texts);
    EXPECT_TRUE(coFakeMissionWorld::Of(swing).tracked);
}

TEST_F(coMissionObjectiveTest, StatisticsAreMetStrictlyBeyondTheirThreshold) {
    BuildR1(true);
    coRideComputeStats();
    const int records[coStatObjectiveKindCount] = {0, 1, 2, 4, 7, 10, 9, 12, 11, 3, 6, 5, 8};
    for (int kind = 0; kind < coStatObjectiveKindCount; ++kind) {
        const float v = coGetRideStats()[records[kind]];
        EXPECT_FALSE(coStatObjective(kind, true, v, *texts).IsMet()) << kind;
        EXPECT_FALSE(coStatObjective(kind, false, v, *texts).IsMet()) << kind;
        EXPECT_TRUE(coStatObjective(kind, true, v - 0.5f, *texts).IsMet()) << kind;
        EXPECT_TRUE(coStatObjective(kind, false, v + 0.5f, *texts).IsMet()) << kind;
    }
    EXPECT_FALSE(coStatObjective(-1, false, 1e30f, *texts).IsMet());
    // A piece the ride did not measure: the lowest speed no longer counts, the highest still does.
    AddStraight(10.0f);
    EXPECT_FALSE(coStatObjective(0, true, -1.0f, *texts).IsMet());
    EXPECT_TRUE(coStatObjective(1, true, -1.0f, *texts).IsMet());
}

TEST_F(coMissionObjectiveTest, PieceCountsAlongTheCircuit) {
    EXPECT_FALSE(coTrackCountObjective(0, 0, false, *texts).IsMet()); // no circuit
    AddStraight(10.0f);
    AddStraight(10.0f);
    coCoasterPiece* right = AddTurn(-90.0f, 15.0f);
    AddStraight(10.0f);
    AddStraight(10.0f);
    EXPECT_EQ(coObjectivePieceKind(*right), coPieceCodeTurnRight);
    EXPECT_EQ(coObjectivePieceKind(*AddTurn(45.0f, 15.0f)), coPieceCodeTurnLeft);
    // straight, straight, right, straight, straight, left
    EXPECT_FALSE(coTrackCountObjective(0, 3, true, *texts).IsMet());
    EXPECT_TRUE(coTrackCountObjective(0, 4, false, *texts).IsMet());
    EXPECT_FALSE(coTrackCountObjective(0, 5, false, *texts).IsMet());
    EXPECT_TRUE(coTrackCountObjective(1, 1, false, *texts).IsMet());
    EXPECT_FALSE(coTrackCountObjective(1, 2, false, *texts).IsMet()); // the left turn is not counted
    AddStraight(10.0f);
    AddStraight(10.0f);
    AddStraight(10.0f);
    EXPECT_TRUE(coTrackCountObjective(0, 3, true, *texts).IsMet());
}

TEST_F(coMissionObjectiveTest, LevelsAskInOrderAndStopAtTheFirstNotMet) {
    coObjectiveSet set;
    EXPECT_TRUE(set.AllMet(2));
    auto first = std::make_unique<coCountedObjective>(false);
    auto second = std::make_unique<coCountedObjective>(true);
    const coCountedObjective* asked[] = {first.get(), second.get()};
    set.Add(std::move(first), 2);
    set.Add(std::move(second), 2);
    EXPECT_FALSE(set.AllMet(2));
    EXPECT_EQ(asked[0]->asked, 1);
    EXPECT_EQ(asked[1]->asked, 0);

    coProp* wheel = world.AddProp(maVector3d(), "wheel", {"still", "spinning"});
    set.Add(std::make_unique<coRingObjective>(*texts), 0);
    set.Add(std::make_unique<coPropActivationEventObjective>(wheel, 0.0f, 1, *texts), 0);
    envString description;
    bool met = true;
    world.ringsPassed = false;
    set.GetObjective(0, 0, description, met);
    EXPECT_FALSE(met);
    world.ringsPassed = true;
    EXPECT_FALSE(set.AllMet(0));
    world.placed[0]->activeEvent = 1;
    EXPECT_TRUE(set.AllMet(0));
    EXPECT_EQ(set.GetCount(0), 2);
}
