#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gui/guiContainer.h"

#include <array>

class guiProgressBar;
class guiText;

// Seconds as "minutes:seconds" with two decimals; the seconds keep their fraction and never carry into
// the minutes, so 59.999 reads "0:60.00".
envString coFormatRideTime(f32 seconds);

// The value, or 0 when printing it with that many decimals shows only zeros: a small negative reads
// "0.0", never "-0.0".
double coDropNegativeZero(double value, int decimals);

// The live gauges of a ride from the script "uisp": speed, climb, the three G components and the time,
// each as a sign line and a magnitude beside a progress bar.
class coStatsPalette : public guiContainer {
  public:
    coStatsPalette();
    ~coStatsPalette() override;

    // Speed in metres per second and climb in metres, shown in the player's units; G without units.
    void SetStats(f32 speed, f32 climb, f32 gx, f32 gy, f32 gz, f32 elapsed, f32 total);
    // Every gauge "-" over "-", every bar empty.
    void ClearStats();
    guiProgressBar* GetBar(i32 index) const { return m_bars[static_cast<size_t>(index)]; }

  private:
    enum Text { kSpeed, kClimb, kGx, kGy, kGz, kTime };
    void SetSigned(Text text, f32 value, int decimals);

    std::array<guiText*, 6> m_texts{};
    std::array<guiProgressBar*, 6> m_bars{};
};
