#include "Source/Ride/coRideStats.h"

#include "Source/Ride/coRideServices.h"
#include "Source/Ride/coTrain.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float kStep = 0.04f;
// Two tiny steps first absorb the jump of a chain that sets its speed on a train at rest.
constexpr float kSettleStep = 0.0001f;
// A crawl below this speed for longer than the stall time ends the run.
constexpr float kCrawlSpeed = 0.01f;
constexpr float kStallTime = 5.0f;
// Boosters and chains can keep a train going for ever; no ride is simulated beyond this.
constexpr int kMostSteps = 100000;

struct coRidePropVisit {
    const coProp* prop = nullptr;
    bool inside = false;
    float entryTime = 0.0f;
    float longestStay = 0.0f;
    // -1 until the track first comes near the prop.
    float firstEntryTime = -1.0f;
};

coRideStats g_stats;
std::map<const coCoasterPiece*, coRidePieceStats> g_pieces;
const coRidePieceStats g_unmeasured;
bool g_propTracking = false;
std::vector<coRidePropVisit> g_visits;

void ResetRecord() {
    g_stats[coStatLowestSpeed] = 10000.0f;
    g_stats[coStatHighestSpeed] = -10000.0f;
    g_stats[coStatHighestLateralG] = -100.0f;
    g_stats[coStatHighestVerticalG] = -100.0f;
    g_stats[coStatHighestForwardG] = -100.0f;
    g_stats[coStatLowestLateralG] = 100.0f;
    g_stats[coStatLowestVerticalG] = 100.0f;
    g_stats[coStatLowestForwardG] = 100.0f;
    g_stats[coStatLowestHeight] = 10000.0f;
    g_stats[coStatHighestHeight] = -10000.0f;
    g_stats[coStatRideTime] = 0.0f;
}

maVector3d LeadPosition(const coTrain& train) {
    return train.GetCar(0).frame.GetTranslation();
}

void UpdateRecord(const coTrain& train, bool resetG) {
    coRideStats& s = g_stats;
    const float speed = train.GetSpeed();
    if (speed <= s[coStatLowestSpeed])
        s[coStatLowestSpeed] = speed;
    if (speed >= s[coStatHighestSpeed])
        s[coStatHighestSpeed] = speed;

    if (resetG) {
        for (int i = coStatHighestLateralG; i <= coStatLowestForwardG; ++i)
            s[i] = 0.0f;
    } else {
        const maVector3d& a = train.GetAcceleration();
        const float lateral = std::fabs(a.x);
        if (lateral <= s[coStatLowestLateralG])
            s[coStatLowestLateralG] = lateral;
        if (a.y <= s[coStatLowestVerticalG])
            s[coStatLowestVerticalG] = a.y;
        if (a.z <= s[coStatLowestForwardG])
            s[coStatLowestForwardG] = a.z;
        if (lateral >= s[coStatHighestLateralG])
            s[coStatHighestLateralG] = lateral;
        if (a.y >= s[coStatHighestVerticalG])
            s[coStatHighestVerticalG] = a.y;
        if (a.z >= s[coStatHighestForwardG])
            s[coStatHighestForwardG] = a.z;
    }

    const float h = LeadPosition(train).y;
    if (h <= s[coStatLowestHeight])
        s[coStatLowestHeight] = h;
    if (h >= s[coStatHighestHeight])
        s[coStatHighestHeight] = h;
}

// Per axis the value of the largest magnitude; forward also takes any value at least as high.
void KeepLargest(maVector3d& kept, const maVector3d& a) {
    if (std::fabs(a.x) > std::fabs(kept.x))
        kept.x = a.x;
    if (std::fabs(a.y) > std::fabs(kept.y))
        kept.y = a.y;
    if (std::fabs(a.z) > std::fabs(kept.z))
        kept.z = a.z;
    if (a.z >= kept.z)
        kept.z = a.z;
}

void StartVisits() {
    g_visits.clear();
    std::vector<const coProp*> props;
    coGetRideProps().CollectAll(props);
    for (const coProp* prop : props) {
        coRidePropVisit visit;
        visit.prop = prop;
        g_visits.push_back(visit);
    }
}

// A prop is near while the lead car is within its radius of the box's vertical mid line segment.
void MeasureVisits(const maVector3d& p, float time) {
    const coRideProps& props = coGetRideProps();
    for (coRidePropVisit& visit : g_visits) {
        const float r = props.GetProximityRadius(visit.prop);
        const maBoundingBox box = props.GetBounds(visit.prop);
        const maVector3d q((box.minX + box.maxX) * 0.5f, (box.minY + box.maxY) * 0.5f,
                           std::min(std::max(p.z, box.minZ), box.maxZ));
        const maVector3d gap = p - q;
        const bool near = maDot(gap, gap) < r * r;
        if (visit.inside && !near) {
            visit.longestStay = std::max(visit.longestStay, time - visit.entryTime);
            visit.inside = false;
        }
        if (!visit.inside && near) {
            visit.inside = true;
            visit.entryTime = time;
            if (visit.firstEntryTime < 0.0f)
                visit.firstEntryTime = time;
        }
    }
}

const coRidePropVisit* FindVisit(const coProp* prop) {
    for (const coRidePropVisit& visit : g_visits) {
        if (visit.prop == prop)
            return &visit;
    }
    return nullptr;
}

} // namespace

void coRideComputeStats() {
    g_pieces.clear();
    const float length = coCircuitTotalLength();
    g_stats[coStatCircuitLength] = length;
    if (!(length > 0.0f && std::isfinite(length))) {
        ResetRecord();
        return;
    }

    const coCoasterDefinition& definition = coGetCoasterDefinition();
    // The run changes nothing of the track: its pieces measure their blend zones once.
    const coFrozenTrack frozen;
    coTrain train;
    ResetRecord();
    // A train needs a car: gravity is shared among them and G is measured on the first.
    const std::vector<float> offsets =
        coEvenCarOffsets(std::max(definition.GetNumCars(), 1), definition.GetCarSeparation());
    train.SetCars(static_cast<int>(offsets.size()), offsets.data());
    // The record and the map read the lead car alone; the others only weigh on the slope.
    train.SetLeadFrameOnly(true);
    train.Setup(definition.GetInitialPosition(), 0.0f);
    UpdateRecord(train, true);

    const bool closed = coCircuitIsClosed();
    // The start position may lie beyond a short circuit's end; the train's distance wraps, so must it.
    float start = std::fmod(train.GetDistance(), length);
    if (start < 0.0f)
        start += length;
    float previous = start;
    float speedSum = 0.0f;
    int steps = 0;
    const coCoasterPiece* current = coCircuitPieceAtDistance(start);
    const bool single = coCircuitFirstPiece() == coCircuitLastPiece();
    if (g_propTracking)
        StartVisits();
    float stalled = 0.0f;

    train.Step(kSettleStep);
    train.Step(kSettleStep);

    coRidePieceStats running;
    running.speed = train.GetSpeed();
    running.height = LeadPosition(train).y;
    running.g = train.GetAcceleration();
    running.measured = 1;
    g_pieces[coCircuitFirstPiece()] = running;

    for (;;) {
        KeepLargest(running.g, train.GetAcceleration());
        const float height = LeadPosition(train).y;
        const float speed = train.GetSpeed();
        train.Step(kStep);
        const float d = train.GetDistance();

        if (train.GetLeadPiece() != current || (single && d < start)) {
            running.speed = speed;
            running.height = height;
            running.time = static_cast<float>(steps) * kStep;
            running.measured = 1;
            g_pieces[current] = running;
            running = coRidePieceStats();
            current = train.GetLeadPiece();
        }

        const bool back =
            closed ? (d >= start && previous < start && steps >= 1) : (d <= start && steps >= 1);
        if (back)
            break;

        g_stats[coStatRideTime] = g_stats[coStatRideTime] + kStep;
        speedSum = speedSum + train.GetSpeed();
        bool stop = false;
        if (train.GetSpeed() < kCrawlSpeed) {
            stalled = stalled + kStep;
            stop = stalled > kStallTime;
        } else {
            stalled = 0.0f;
        }
        stop = stop || train.GetSpeed() <= 0.0f;

        UpdateRecord(train, false);
        if (g_propTracking)
            MeasureVisits(LeadPosition(train), g_stats[coStatRideTime]);

        ++steps;
        previous = d;
        if (stop || steps >= kMostSteps)
            break;
    }

    // Far away from everything: closes every open stay.
    if (g_propTracking)
        MeasureVisits(maVector3d(100000.0f, 100000.0f, 100000.0f), g_stats[coStatRideTime]);
    g_stats[coStatAverageSpeed] = speedSum / static_cast<float>(steps);
}

const coRideStats& coGetRideStats() {
    return g_stats;
}

void coRideStatsClear() {
    g_stats = coRideStats();
    g_pieces.clear();
    g_visits.clear();
}

const coRidePieceStats& coRideStatsFind(const coCoasterPiece* piece) {
    const auto found = g_pieces.find(piece);
    return found == g_pieces.end() ? g_unmeasured : found->second;
}

const std::map<const coCoasterPiece*, coRidePieceStats>& coRideStatsPieces() {
    return g_pieces;
}

void coRideSetPropTracking(bool on) {
    g_propTracking = on;
    if (!on)
        g_visits.clear();
}

float coRidePropMeasure(const coProp* prop) {
    const coRidePropVisit* visit = FindVisit(prop);
    return visit ? visit->longestStay : 0.0f;
}

int coRidePropVisitOrder(const coProp* prop) {
    const coRidePropVisit* visit = FindVisit(prop);
    if (!visit || visit->firstEntryTime < 0.0f)
        return 0;
    int order = 1;
    for (const coRidePropVisit& other : g_visits) {
        if (&other != visit && coGetRideProps().GetOrderingFlag(other.prop) && other.firstEntryTime >= 0.0f &&
            other.firstEntryTime < visit->firstEntryTime)
            ++order;
    }
    return order;
}
