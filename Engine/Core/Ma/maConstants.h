#pragma once

// Angle constants of the math package, in double and in single precision. The float forms are computed
// from the float pi in float arithmetic; track code relies on the exact value of maRadiansPerDegreeF.
inline constexpr double maPi = 3.141592653589793;
inline constexpr double maTwoPi = 2.0 * maPi;
inline constexpr double maFourPi = 4.0 * maPi;
inline constexpr double maHalfPi = maPi / 2.0;
inline constexpr double maInvPi = 1.0 / maPi;
inline constexpr double maDegreesPerRadian = 180.0 / maPi;
inline constexpr double maRadiansPerDegree = maPi / 180.0;

inline constexpr float maPiF = 3.1415927f;
inline constexpr float maTwoPiF = 2.0f * maPiF;
inline constexpr float maFourPiF = 4.0f * maPiF;
inline constexpr float maHalfPiF = maPiF / 2.0f;
inline constexpr float maInvPiF = 1.0f / maPiF;
inline constexpr float maDegreesPerRadianF = 180.0f / maPiF;
inline constexpr float maRadiansPerDegreeF = maPiF * 0.0055555557f;

// The largest float: the sentinel of an empty box.
inline constexpr float maMaxFloat = 3.4028235e38f;
