#pragma once
#include "Engine/Core/Env/envTypes.h"

// The texts of "uimc.tsf" by number: the question box's button labels and the questions the game asks.
inline constexpr u32 coLabelOk = 0;
inline constexpr u32 coLabelCancel = 1;
inline constexpr u32 coLabelYes = 7;
inline constexpr u32 coLabelNo = 8;
// The error display's three answers.
inline constexpr u32 coLabelAbort = 18;
inline constexpr u32 coLabelRetry = 19;
inline constexpr u32 coLabelIgnore = 20;

inline constexpr u32 coQuestionRestartCareer = 4;
inline constexpr u32 coQuestionReplaceCoaster = 6;
// The quit question: with unsaved work, and without.
inline constexpr u32 coQuitTextModified = 9;
inline constexpr u32 coQuitTextPlain = 10;
inline constexpr u32 coQuestionLeaveBuilder = 13;
inline constexpr u32 coQuestionLoadFromBuilder = 15;
// Names the coaster in its "%s".
inline constexpr u32 coQuestionDeleteCoaster = 17;
inline constexpr u32 coQuestionLeaveRide = 21;
inline constexpr u32 coQuestionLoadFromRide = 22;
inline constexpr u32 coQuestionRestartMission = 23;
