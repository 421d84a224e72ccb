#include "Source/Palettes/coStatsPalette.h"

#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiProgressBar.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coUnits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr const char* kTexts[6] = {"MPH Stat",     "Climb Stat",   "GForce StatX",
                                   "GForce StatY", "GForce StatZ", "Time Stat"};

struct BarLayout {
    i32 y;
    const char* image;
};
// Speed, climb, G y, G z, G x, time.
constexpr BarLayout kBars[6] = {{11, "uisppbsi.png"}, {36, "uisppbsi.png"},  {62, "uisppbgi.png"},
                                {82, "uisppbgi.png"}, {103, "uisppbgi.png"}, {129, "uisppbsi.png"}};

// Full bars: 89.4 m/s of speed, 200 m of climb.
constexpr f32 kFullSpeed = 89.4f;
constexpr f32 kFullClimb = 200.0f;

envString Format(int decimals, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return envString(text);
}

} // namespace

double coDropNegativeZero(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return std::strtod(text, nullptr) == 0.0 ? 0.0 : value;
}

envString coFormatRideTime(f32 seconds) {
    const i32 minutes = static_cast<i32>(seconds) / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%d:%05.2f", minutes, static_cast<double>(seconds - minutes * 60.0f));
    return envString(text);
}

coStatsPalette::coStatsPalette() {
    coLoadScreenScript("uisp", "uisp.tsf", this);
    const g3dTextColour white{255, 255, 255};
    for (size_t i = 0; i < m_texts.size(); ++i) {
        m_texts[i] = coFindWidget<guiText>(*this, "uisp", kTexts[i], "Text");
        const g2dFont font = m_texts[i]->GetDefaultFont();
        m_texts[i]->SetDefaultStyle({white, white}, {font, font}, {0, 6});
    }
    for (size_t i = 0; i < m_bars.size(); ++i) {
        auto bar = std::make_unique<guiProgressBar>();
        bar->SetSize(64, 16);
        bar->GetBackground()->SetVisible(false);
        bar->GetBackground()->SetEnabled(false);
        fsLocator image = coScreenScriptFolder("uisp");
        image.AppendComponent(kBars[i].image);
        bar->GetProgress()->SetImage(image, 0);
        bar->GetProgress()->SetState(0);
        bar->GetProgress()->SetSoundEnabled(false);
        bar->SetPosition({62.0f, static_cast<f32>(kBars[i].y), 0.0f});
        m_bars[i] = AddChild(std::move(bar));
    }
    ClearStats();
}

coStatsPalette::~coStatsPalette() {
    DeleteAllChildren();
}

void coStatsPalette::ClearStats() {
    for (guiText* text : m_texts)
        text->SetTextLines({envString("-"), envString("-")}, 0);
    for (guiProgressBar* bar : m_bars)
        bar->SetValue(0.0f);
}

void coStatsPalette::SetSigned(Text text, f32 value, int decimals) {
    const double shown = coDropNegativeZero(value, decimals);
    m_texts[text]->SetTextLines({envString(shown < 0.0 ? "-" : ""), Format(decimals, std::fabs(shown))}, 0);
}

void coStatsPalette::SetStats(f32 speed, f32 climb, f32 gx, f32 gy, f32 gz, f32 elapsed, f32 total) {
    const f32 v = coToDisplaySpeed(speed);
    SetSigned(kSpeed, v, 0);
    m_bars[0]->SetValue(std::fabs(v) / coToDisplaySpeed(kFullSpeed));
    const f32 h = coToDisplayLength(climb);
    SetSigned(kClimb, h, 2);
    m_bars[1]->SetValue(std::fabs(h) / coToDisplayLength(kFullClimb));
    SetSigned(kGx, gx, 2);
    SetSigned(kGy, gy, 2);
    SetSigned(kGz, gz, 2);
    // A full bar at 5 G vertically, 2 G sideways and lengthways.
    m_bars[2]->SetValue(std::fabs(gy) * 0.2f);
    m_bars[3]->SetValue(std::fabs(gz) * 0.5f);
    m_bars[4]->SetValue(std::fabs(gx) * 0.5f);
    // As lines, which are compared before drawing; SetText draws again whenever the text has two fields.
    m_texts[kTime]->SetTextLines({coFormatRideTime(elapsed)}, 0);
    m_bars[5]->SetValue(total != 0.0f ? elapsed / total : 0.0f);
}
