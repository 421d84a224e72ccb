#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envTypes.h"
#include "Source/Settings/coErrorPackage.h"

#include <exception>
#include <string>
#include <vector>

// How a failure is shown to the player: the error package and number of its text, and the extra text in
// UTF-8 appended to it (a file's path, or the package and number of an exception the game has no text of its
// own for; that exception's code is kept then).
struct coExceptionReport {
    u32 package = 0;
    u32 number = 0;
    std::string extra;
    u32 code = 0;
    // Why a file could not be used, where the system said: one of the game's texts.
    u32 causeText = 0;
    // The file whose content named the file in extra, as the player finds it, when a name read there led
    // to a file that could not be found.
    std::string namedIn{};
};

// The game's own error texts, in coErrorPackage.
inline constexpr u32 coErrorGeneral = 3;
inline constexpr u32 coErrorSound = 4;
inline constexpr u32 coErrorUnknownFile = 6;
inline constexpr u32 coErrorScreenScript = 8;
inline constexpr u32 coErrorDamagedAttempt = 9;
inline constexpr u32 coErrorDamagedMission = 10;
inline constexpr u32 coErrorDamagedCoaster = 11;
inline constexpr u32 coErrorDiscFull = 13;
inline constexpr u32 coErrorFolderReadOnly = 14;
inline constexpr u32 coErrorUnreadablePictureGoesOn = 15;
inline constexpr u32 coErrorUnreadableGameFile = 16;
inline constexpr u32 coErrorCutShort = 17;
inline constexpr u32 coErrorDamagedContent = 18;
inline constexpr u32 coErrorUnreadablePicture = 24;
inline constexpr u32 coErrorUnreadableGameFileGoesOn = 25;
inline constexpr u32 coErrorGeneralGoesOn = 26;
inline constexpr u32 coErrorGameEnds = 27;
inline constexpr u32 coErrorUnreadableFolder = 29;
inline constexpr u32 coErrorNamedIn = 30;
inline constexpr u32 coErrorUnreadablePictureNotOpened = 31;
inline constexpr u32 coErrorUnreadableGameFileNotOpened = 32;
inline constexpr u32 coErrorGeneralNotOpened = 33;
inline constexpr u32 coErrorCoasterNotOpened = 34;
inline constexpr u32 coErrorMissionNotOpened = 35;

// The file system's texts ("fsErrors.tsf") for a file that could not be read, beside its own classes'.
inline constexpr u32 coFsErrorMayNotRead = 11;
inline constexpr u32 coFsErrorFolderNotFile = 12;
// "A file could not be read:", before the file and the cause.
inline constexpr u32 coFsErrorNotRead = 13;

// What the game does once the player has read the report: its words say so truly. A coaster or mission
// that a game file failed to open is left unopened, and the menu that opened it stays.
enum class coAfterReport : u8 { GameGoesOn, GameEnds, CoasterNotOpened, MissionNotOpened };

coExceptionReport coDescribeException(const std::exception_ptr& failure,
                                      coAfterReport after = coAfterReport::GameGoesOn);
// Reports the exception being handled through the error handler as a notice and returns what it said.
// An exception shown only by its package and number also has its own package's text written to the log.
// Before the game ends the notice says so, whatever its text.
coExceptionReport coReportCurrentException(coAfterReport after = coAfterReport::GameGoesOn);

// Reports failures of one action (the saves of a finished mission) in one notice: the first one's text,
// then every file named and every cause, each on its own line.
void coReportFailures(const std::vector<std::exception_ptr>& failures);

// For the log: the file that a failure names as the player finds it, and what is wrong with it when that
// is known ("uitm/a.png in /data/gui.pak. It is damaged."); `file` when the failure names none.
std::string coFailedFileForLog(const std::exception_ptr& failure, const fsLocator& file);

// True when the failure says that a file's content cannot be read (its chunks, header or records are
// damaged), rather than that it is missing or cannot be opened.
bool coIsDamagedFileFailure(const std::exception_ptr& failure);
// True when the failure is damage found in `file` itself: a damaged-file failure that names it, or that
// names no file. Damage in a game file that `file` needs (a theme's model) is that file's, not this one's.
bool coIsDamageOf(const std::exception_ptr& failure, const fsLocator& file);
// Reports text `number` of the game's error texts as a notice, naming the file by its path on disc.
void coReportFileProblem(u32 number, const fsLocator& file);
// Tells the player, once a run each, of the folders that could not be read (what they hold is not listed).
void coReportUnreadableFolders(const std::vector<fsLocator>& folders);
