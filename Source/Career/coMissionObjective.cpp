#include "Source/Career/coMissionObjective.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Career/coDescriptionFormat.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Settings/coUnits.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"

#include <climits>
#include <cmath>
#include <functional>

namespace {

enum class Unit { None, Speed, Length, Time };

struct StatKind {
    int recordIndex;
    Unit unit;
};

// Per statistic kind: the value of the ride statistics it reads and how it is shown.
constexpr StatKind kStatKinds[coStatObjectiveKindCount] = {
    {coStatLowestSpeed, Unit::Speed},    {coStatHighestSpeed, Unit::Speed},
    {coStatAverageSpeed, Unit::Speed},   {coStatHighestVerticalG, Unit::None},
    {coStatLowestVerticalG, Unit::None}, {coStatHighestHeight, Unit::Length},
    {coStatLowestHeight, Unit::Length},  {coStatRideTime, Unit::Time},
    {coStatCircuitLength, Unit::Length}, {coStatHighestLateralG, Unit::None},
    {coStatLowestLateralG, Unit::None},  {coStatHighestForwardG, Unit::None},
    {coStatLowestForwardG, Unit::None},
};

constexpr u32 kRingText = 0;
constexpr u32 kProximityWithoutPropText = 1;
constexpr u32 kCountOfOneText = 2;
constexpr u32 kCountText = 8;
constexpr u32 kConsecutiveCountText = 14;
constexpr u32 kStatText = 20;
constexpr u32 kProximityText = 47;
constexpr u32 kOrderText = 50;
constexpr u32 kEventText = 61;
constexpr u32 kEventWithoutPropText = 62;
// The unit words after a threshold in the chosen units: speeds, then lengths, each imperial then metric.
constexpr u32 kSpeedUnitText = 64;
constexpr u32 kLengthUnitText = 66;

bool IsValidKind(int kind) {
    return kind >= 0 && kind < coStatObjectiveKindCount;
}

// A huge or undefined number of minutes must not reach the integer conversion.
i32 ClampToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<i32>(value);
}

envString UnitWord(Unit unit, const gfTextSet& texts) {
    const u32 metric = coPrefs::GetBool(coPrefMetricUnits) ? 1 : 0;
    switch (unit) {
    case Unit::Speed:
        return texts.GetText(kSpeedUnitText + metric);
    case Unit::Length:
        return texts.GetText(kLengthUnitText + metric);
    default:
        return envString();
    }
}

double DisplayFactor(Unit unit) {
    switch (unit) {
    case Unit::Speed:
        return coToDisplaySpeed(1.0f);
    case Unit::Length:
        return coToDisplayLength(1.0f);
    default:
        return 1.0;
    }
}

envString PropName(const coProp* prop) {
    return prop ? coGetMissionWorld().GetPropName(prop) : envString("prop");
}

// The circuit from its first piece along the next links to its last; false from `visit` stops the walk.
void WalkCircuit(const std::function<bool(const coCoasterPiece&)>& visit) {
    const coCoasterPiece* last = coCircuitLastPiece();
    int left = coCircuitPieceCount();
    for (const coCoasterPiece* piece = coCircuitFirstPiece(); piece && left-- > 0; piece = piece->GetNext())
        if (!visit(*piece) || piece == last)
            return;
}

} // namespace

int coStatKindRecord(int kind) {
    return kStatKinds[kind].recordIndex;
}

int coObjectivePieceKind(const coCoasterPiece& piece) {
    if (dynamic_cast<const coCoasterPieceStraight*>(&piece))
        return coPieceCodeStraight;
    if (const auto* turn = dynamic_cast<const coCoasterPieceTurn*>(&piece))
        return turn->GetAngle() < 0.0f ? coPieceCodeTurnRight : coPieceCodeTurnLeft;
    if (const auto* half = dynamic_cast<const coCoasterPieceHalfCorkscrew*>(&piece))
        return half->GetAngle() < 0.0f ? coPieceCodeHalfCorkscrewRight : coPieceCodeHalfCorkscrewLeft;
    if (const auto* shallow = dynamic_cast<const coCoasterPieceShallowTurn*>(&piece))
        return shallow->GetAngle() < 0.0f ? coPieceCodeShallowTurnRight : coPieceCodeShallowTurnLeft;
    if (dynamic_cast<const coCoasterPieceCorkscrew*>(&piece))
        return coPieceCodeCorkscrew;
    if (dynamic_cast<const coCoasterPieceLoop*>(&piece))
        return coPieceCodeLoop;
    if (dynamic_cast<const coCoasterPieceSTurn*>(&piece))
        return coPieceCodeSTurn;
    if (dynamic_cast<const coCoasterPieceHalfLoop*>(&piece))
        return coPieceCodeHalfLoop;
    if (dynamic_cast<const coCoasterPieceUp*>(&piece))
        return coPieceCodeUp;
    return coPieceCodeOther;
}

coStatObjective::coStatObjective(int kind, bool above, float threshold, const gfTextSet& texts)
    : m_kind(kind), m_above(above), m_threshold(threshold) {
    if (!IsValidKind(kind)) {
        DBG_WARNING("statistic objective of kind %d: never met, not described", kind);
        return;
    }
    const envString& text = texts.GetText(kStatText + 2 * static_cast<u32>(kind) + (above ? 0 : 1));
    const Unit unit = kStatKinds[kind].unit;
    const double value = static_cast<double>(threshold) * DisplayFactor(unit);
    if (unit == Unit::Time) {
        // Rounded to the tenth shown first, so that 119.97 s reads 2:00.0 and never 1:60.0.
        const double tenths = std::round(value * 10.0) / 10.0;
        const i32 minutes = ClampToInt(tenths) / 60;
        m_description = coFormatDescription(text, {minutes, tenths - 60.0 * minutes});
    } else if (unit == Unit::None) {
        m_description = coFormatDescription(text, {value});
    } else {
        m_description = coFormatDescription(text, {value, UnitWord(unit, texts)});
    }
}

bool coStatObjective::IsMet() const {
    if (!IsValidKind(m_kind))
        return false;
    const float value = coGetRideStats()[coStatKindRecord(m_kind)];
    if (!m_above)
        return value < m_threshold;
    if (!(value > m_threshold))
        return false;
    // The lowest speed counts only when the ride measured every piece.
    bool measured = true;
    if (m_kind == coStatKindLowestSpeed)
        WalkCircuit(
            [&](const coCoasterPiece& piece) { return measured = coRideStatsFind(&piece).measured != 0; });
    return measured;
}

coTrackCountObjective::coTrackCountObjective(int code, int count, bool consecutive, const gfTextSet& texts)
    : m_code(code), m_count(count), m_consecutive(consecutive) {
    u32 id = kRingText;
    if (code >= coPieceCodeStraight && code <= coPieceCodeCorkscrew)
        id = static_cast<u32>(code) + (count == 1    ? kCountOfOneText
                                       : consecutive ? kConsecutiveCountText
                                                     : kCountText);
    m_description = coFormatDescription(texts.GetText(id), {count});
}

bool coTrackCountObjective::IsMet() const {
    int found = 0;
    bool met = false;
    WalkCircuit([&](const coCoasterPiece& piece) {
        if (coObjectivePieceKind(piece) == m_code)
            ++found;
        else if (m_consecutive)
            found = 0;
        met = found >= m_count;
        return !met;
    });
    return met;
}

coPropProximityObjective::coPropProximityObjective(coProp* prop, float threshold)
    : m_prop(prop), m_threshold(threshold) {}

coPropProximityObjective::coPropProximityObjective(coProp* prop, float threshold, const gfTextSet& texts)
    : coPropProximityObjective(prop, threshold) {
    m_description =
        prop ? coFormatDescription(texts.GetText(kProximityText), {PropName(prop), double(threshold)})
             : coFormatDescription(texts.GetText(kProximityWithoutPropText), {double(threshold)});
}

bool coPropProximityObjective::IsMet() const {
    return coRidePropMeasure(m_prop) >= m_threshold;
}

coPropActivationEventObjective::coPropActivationEventObjective(coProp* prop, float threshold, int event,
                                                               const gfTextSet& texts)
    : coPropProximityObjective(prop, threshold), m_event(event) {
    m_description =
        prop ? coFormatDescription(
                   texts.GetText(kEventText),
                   {PropName(prop), coGetMissionWorld().GetPropEventName(prop, event), double(threshold)})
             : coFormatDescription(texts.GetText(kEventWithoutPropText), {double(threshold)});
}

bool coPropActivationEventObjective::IsMet() const {
    return coPropProximityObjective::IsMet() && GetProp() &&
           coGetMissionWorld().GetPropActiveEvent(GetProp()) == m_event;
}

coPropOrderingObjective::coPropOrderingObjective(coProp* prop, int order, const gfTextSet& texts)
    : m_prop(prop), m_order(order) {
    const i64 id = i64{kOrderText} + order;
    if (id >= 0 && id <= u32(-1))
        m_description = coFormatDescription(texts.GetText(static_cast<u32>(id)), {PropName(prop), order});
    if (prop)
        coGetMissionWorld().SetPropOrderTracked(prop, true);
}

bool coPropOrderingObjective::IsMet() const {
    return coRidePropVisitOrder(m_prop) == m_order;
}

coRingObjective::coRingObjective(const gfTextSet& texts) : coMissionObjective() {
    m_description = coFormatDescription(texts.GetText(kRingText), {});
}

bool coRingObjective::IsMet() const {
    return coGetMissionWorld().AllRingsPassed();
}
