#include "Source/Palettes/coGlobalStatsPalette.h"

#include "Engine/GUI/Gui/guiText.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coUnits.h"

#include <cstdio>

namespace {

constexpr const char* kTextSet = "uigs.tsf";

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
    auto add = [&](u32 label, const envString& value) {
        text.Append(coTextOrEmpty(m_labels, label, kTextSet));
        text.Append(value);
    };
    add(0, Line("%.1f/%.1f/%.1f\n", 1, coToDisplaySpeed(a), coToDisplaySpeed(c), coToDisplaySpeed(b)));
    add(1, Line("%.2f/%.2f\n", 2, d, e, 0.0));
    add(2, Line("%.2f/%.2f\n", 2, coToDisplayLength(f), coToDisplayLength(g), 0.0));
    add(3, Line("%.1f\n", 1, coToDisplayLength(h), 0.0, 0.0));
    add(4, coFormatRideTime(t));
    m_text->SetText(text, 0);
}
