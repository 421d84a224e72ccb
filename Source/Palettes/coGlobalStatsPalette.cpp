#include "Source/Palettes/coGlobalStatsPalette.h"

#include "Engine/GUI/Gui/guiText.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Settings/coUnits.h"

#include <cstdio>

namespace {

constexpr const char* kTextSet = "uigs.tsf";
// The unit words after the values in the chosen units: speeds, then lengths, each imperial then metric.
constexpr u32 kSpeedUnitText = 5;
constexpr u32 kLengthUnitText = 7;

envString Line(const char* format, int decimals, double x, double y, double z) {
    char text[128];
    std::snprintf(text, sizeof text, format, coDropNegativeZero(x, decimals), coDropNegativeZero(y, decimals),
                  coDropNegativeZero(z, decimals));
    return envString(text);
}

} // namespace

coGlobalStatsPalette::coGlobalStatsPalette() {
    coLoadScreenScript("uisp/uigs", nullptr, this);
    m_text = coFindWidget<guiText>(*this, "uisp/uigs", "Global Stats", "Text");
    m_labels = coReadTexts(kTextSet);
}

coGlobalStatsPalette::~coGlobalStatsPalette() {
    DeleteAllChildren();
}

void coGlobalStatsPalette::SetStats(f32 a, f32 b, f32 c, f32 d, f32 e, f32 f, f32 g, f32 h, f32 t) {
    envString text;
    // The G forces have no unit; speeds and lengths name the chosen one.
    const u32 metric = coPrefs::GetBool(coPrefMetricUnits) ? 1 : 0;
    auto add = [&](u32 label, const envString& value, i64 unit = -1) {
        text.Append(coTextOrEmpty(m_labels, label, kTextSet));
        text.Append(value);
        if (unit >= 0) {
            text.AppendChar(u' ');
            text.Append(coTextOrEmpty(m_labels, static_cast<u32>(unit) + metric, kTextSet));
        }
        text.AppendChar(u'\n');
    };
    add(0, Line("%.1f/%.1f/%.1f", 1, coToDisplaySpeed(a), coToDisplaySpeed(c), coToDisplaySpeed(b)),
        kSpeedUnitText);
    add(1, Line("%.2f/%.2f", 2, d, e, 0.0));
    add(2, Line("%.2f/%.2f", 2, coToDisplayLength(f), coToDisplayLength(g), 0.0), kLengthUnitText);
    add(3, Line("%.1f", 1, coToDisplayLength(h), 0.0, 0.0), kLengthUnitText);
    text.Append(coTextOrEmpty(m_labels, 4, kTextSet));
    text.Append(coFormatRideTime(t));
    m_text->SetText(text, 0);
}
