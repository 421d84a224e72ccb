#include "Source/Screens/coReportException.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/May/mayModelFile.h"
#include "Source/SavedCoaster/coInvalidSaveFileX.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coErrorLine.h"
#include "Source/Settings/coFileCause.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coInvalidPropFileX.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>
#include <set>

namespace {

// A file of a search root as found on disc: in the root's directory that holds it (or its first).
fsLocator OnDisc(fsLocator file) {
    try {
        fsResolveRoot(file);
    } catch (const envExceptionX&) {
        // A root without directories: the components are all there is to name.
    }
    return file;
}

// The file's path on disc, so the player can find it.
coExceptionReport WithPath(u32 package, u32 number, const fsLocator& file) {
    coExceptionReport report{package, number, {}};
    fsLocatorToNativePath(OnDisc(file), report.extra);
    return report;
}

template <class X> coExceptionReport WithPath(u32 package, u32 number, const X& e) {
    return WithPath(package, number, e.GetLocator());
}

// A part of a pak is named inside it: "uiod/uiodbn_i.png in /.../gui.pak".
coExceptionReport InPak(u32 number, const fsLocator& entry, const fsLocator& pak) {
    coExceptionReport report = WithPath(coErrorPackage, number, pak);
    std::string name;
    fsJoinComponents(entry, name);
    report.extra = name + " in " + report.extra;
    return report;
}

// A game file that cannot be read, and what is wrong with it. It is named inside the pak that held it:
// the one given, or the one that the reads of a search root's file look in.
coExceptionReport Unreadable(u32 number, const fsLocator& file, const fsLocator& pak, gfDamage damage) {
    fsLocator entry;
    const gfPakFile* holder = pak.GetComponentCount() == 0 ? gfPakSearcher::FindPak(file, entry) : nullptr;
    coExceptionReport report = pak.GetComponentCount() > 0 ? InPak(number, file, pak)
                               : holder                    ? InPak(number, entry, holder->GetLocator())
                                                           : WithPath(coErrorPackage, number, file);
    report.causeText = damage == gfDamage::CutShort ? coErrorCutShort : coErrorDamagedContent;
    return report;
}

// A file that could not be opened by its name, with the file that named it when that is known.
coExceptionReport NotFound(u32 package, u32 number, const fsFileFailureX& e) {
    coExceptionReport report = WithPath(package, number, e);
    if (e.GetNamedInEntry().GetComponentCount() > 0)
        report.namedIn = InPak(0, e.GetNamedInEntry(), e.GetNamedIn()).extra;
    else if (e.GetNamedIn().GetComponentCount() > 0)
        report.namedIn = WithPath(0, 0, e.GetNamedIn()).extra;
    return report;
}

// The game's texts that say what follows a failure: the general one, a game file's and a picture's.
struct AfterTexts {
    u32 general, file, picture;
};

AfterTexts TextsFor(coAfterReport after) {
    switch (after) {
    case coAfterReport::GameEnds:
        return {coErrorGeneral, coErrorUnreadableGameFile, coErrorUnreadablePicture};
    case coAfterReport::GameGoesOn:
        return {coErrorGeneralGoesOn, coErrorUnreadableGameFileGoesOn, coErrorUnreadablePictureGoesOn};
    default:
        return {coErrorGeneralNotOpened, coErrorUnreadableGameFileNotOpened,
                coErrorUnreadablePictureNotOpened};
    }
}

// A failure the game has no text of its own for: shown by its package and number.
coExceptionReport ByCode(const envExceptionX& e, u32 general) {
    const u32 code = e.GetCode();
    char extra[32];
    std::snprintf(extra, sizeof extra, ": (%d-%d)", static_cast<int>(envErrorCodePackage(code)),
                  static_cast<int>(envErrorCodeNumber(code)));
    return {coErrorPackage, general, extra, code};
}

// A file that cannot be written says why, when the system told, in the game's own words.
coExceptionReport WithCause(u32 package, u32 number, const fsFileFailureX& e) {
    coExceptionReport report = WithPath(package, number, e);
    if (const int error = e.GetSystemError())
        report.causeText = coFileCauseText(error);
    return report;
}

// One of the game's texts as a line of its own.
std::string Line(u32 number) {
    return coErrorLine(coErrorPackage, number);
}

std::string CauseOf(const coExceptionReport& report) {
    return report.causeText == 0 ? std::string() : Line(report.causeText);
}

bool SaysTheGameEnds(const coExceptionReport& report) {
    return report.package == coErrorPackage &&
           (report.number == coErrorGeneral || report.number == coErrorUnreadableGameFile ||
            report.number == coErrorUnreadablePicture);
}

// A file after the first is named from the first one's folder when it lies under it: the box has room
// for few lines.
std::string NameBeside(const std::string& first, const std::string& path) {
    const std::string folder = first.substr(0, first.rfind('/') + 1);
    return !folder.empty() && path.starts_with(folder) ? path.substr(folder.size()) : path;
}

// Every report's file, then every cause, once each, a line each.
std::string ExtraText(const std::vector<coExceptionReport>& reports) {
    std::vector<std::string> lines;
    const auto add = [&lines](const std::string& line) {
        if (!line.empty() && std::find(lines.begin(), lines.end(), line) == lines.end())
            lines.push_back(line);
    };
    for (const coExceptionReport& report : reports) {
        add(lines.empty() ? report.extra : NameBeside(reports[0].extra, report.extra));
        if (!report.namedIn.empty())
            add(Line(coErrorNamedIn) + " " + report.namedIn);
    }
    for (const coExceptionReport& report : reports)
        add(CauseOf(report));
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

// A save that fails in a run that was told that nothing can be saved goes to the log only.
bool IsUntoldSaveFailure(const std::exception_ptr& failure) {
    if (coPaths::CanSave())
        return false;
    try {
        std::rethrow_exception(failure);
    } catch (const fsReadOnlyX& e) {
        return e.GetAccess() == fsAccess::Write && coPaths::IsUnderSaves(e.GetLocator());
    } catch (const fsFileFailureX& e) {
        return coPaths::IsUnderSaves(e.GetLocator());
    } catch (...) {
        return false;
    }
}

void Tell(const std::vector<coExceptionReport>& reports, coAfterReport after) {
    for (const coExceptionReport& report : reports)
        if (report.code != 0) {
            // The player's message says only which package failed: the log says how, in its own words.
            std::string own = envStringToUtf8(gfErrorHandler::GetMessage(
                envErrorCodePackage(report.code), envErrorCodeNumber(report.code), nullptr));
            own.erase(own.find_last_not_of(" \n") + 1);
            dbgLogLine(("The failure" + report.extra + " " + own).c_str());
        }
    std::string extra = ExtraText(reports);
    // A line whose text cannot be read is left out rather than shown as a fallback.
    const auto addLine = [&extra](u32 number) {
        if (const std::string line = Line(number); !line.empty())
            extra += "\n" + line;
    };
    if (after == coAfterReport::GameEnds && !SaysTheGameEnds(reports[0]))
        addLine(coErrorGameEnds);
    if (after == coAfterReport::CoasterNotOpened || after == coAfterReport::MissionNotOpened)
        addLine(after == coAfterReport::CoasterNotOpened ? coErrorCoasterNotOpened : coErrorMissionNotOpened);
    gfErrorHandler::Report(gfDisplayNotice, reports[0].package, reports[0].number,
                           extra.empty() ? nullptr : extra.c_str());
}

} // namespace

coExceptionReport coDescribeException(const std::exception_ptr& failure, coAfterReport after) {
    const AfterTexts texts = TextsFor(after);
    try {
        std::rethrow_exception(failure);
    } catch (const coScreenScriptX& e) {
        return WithPath(coErrorPackage, coErrorScreenScript, e);
    } catch (const fsFileDoesntExistX& e) {
        return NotFound(4, 4, e);
    } catch (const fsDirectoryDoesntExistX& e) {
        return WithPath(4, 1, e);
    } catch (const gfFileNotInPakX& e) {
        return NotFound(7, 5, e);
    } catch (const fsInvalidLocatorX& e) {
        // A name that no file can have, as a damaged name read from a file may be.
        return NotFound(4, 7, e);
    } catch (const chInvalidChunkX& e) {
        // A loader that finds its chunks' values wrong may not know the file: then only the code is shown.
        if (e.GetLocator().GetComponentCount() == 0)
            return ByCode(e, texts.general);
        return Unreadable(texts.file, e.GetLocator(), {}, gfDamage::Malformed);
    } catch (const mayInvalidModelFileX& e) {
        return Unreadable(texts.file, e.GetLocator(), {}, gfDamage::Malformed);
    } catch (const coInvalidPropFileX& e) {
        return Unreadable(texts.file, e.GetLocator(), {}, gfDamage::Malformed);
    } catch (const gfInvalidContentX& e) {
        const bool inPak = e.GetEntry().GetComponentCount() > 0;
        return Unreadable(texts.file, inPak ? e.GetEntry() : e.GetLocator(),
                          inPak ? e.GetLocator() : fsLocator(), e.GetDamage());
    } catch (const fsReadOnlyX& e) {
        // Only a refusal of the system's permissions is "read-only"; a folder or a pipe in the file's place
        // is told under the plain heading, above its cause.
        const int error = e.GetSystemError();
        if (e.GetAccess() == fsAccess::Write)
            return error == 0 || error == EACCES || error == EPERM || error == EROFS
                       ? WithCause(4, 8, e)
                       : WithCause(coErrorPackage, coErrorUnknownFile, e);
        switch (error) {
        case EISDIR:
            return WithPath(4, coFsErrorFolderNotFile, e);
        case fsNotAFileError:
            return WithCause(4, coFsErrorNotRead, e);
        default:
            return WithPath(4, coFsErrorMayNotRead, e);
        }
    } catch (const fsUnknownX& e) {
        return WithCause(coErrorPackage, coErrorUnknownFile, e);
    } catch (const snSoundSystemCreateFailedX&) {
        return {coErrorPackage, coErrorSound, {}};
    } catch (const snSoundSystemBufferCreateFailedX&) {
        return {coErrorPackage, coErrorSound, {}};
    } catch (const std::bad_alloc&) {
        return {coErrorPackage, texts.general, ": std::bad_alloc (out of memory?)"};
    } catch (const envExceptionX& e) {
        // Pictures decoded from memory have no file to name.
        const auto* picture = dynamic_cast<const g2dPictureFailure*>(&e);
        if (picture && picture->GetFile().GetComponentCount() > 0)
            return Unreadable(texts.picture, picture->GetFile(), picture->GetPak(), picture->GetDamage());
        return ByCode(e, texts.general);
    } catch (...) {
        return {coErrorPackage, texts.general, {}};
    }
}

coExceptionReport coReportCurrentException(coAfterReport after) {
    const std::exception_ptr failure = std::current_exception();
    const coExceptionReport report = coDescribeException(failure, after);
    if (after == coAfterReport::GameGoesOn && IsUntoldSaveFailure(failure))
        dbgLogLine(
            ("Not saved (nothing can be saved in this run): " + coFailedFileForLog(failure, {})).c_str());
    else
        Tell({report}, after);
    return report;
}

void coReportFailures(const std::vector<std::exception_ptr>& failures) {
    std::vector<coExceptionReport> reports;
    for (const std::exception_ptr& failure : failures)
        if (IsUntoldSaveFailure(failure))
            dbgLogLine(
                ("Not saved (nothing can be saved in this run): " + coFailedFileForLog(failure, {})).c_str());
        else
            reports.push_back(coDescribeException(failure));
    if (!reports.empty())
        Tell(reports, coAfterReport::GameGoesOn);
}

std::string coFailedFileForLog(const std::exception_ptr& failure, const fsLocator& file) {
    bool namesAFile = false;
    try {
        std::rethrow_exception(failure);
    } catch (const fsFileFailureX&) {
        namesAFile = true;
    } catch (const g2dPictureFailure& picture) {
        namesAFile = picture.GetFile().GetComponentCount() > 0;
    } catch (...) {
    }
    const coExceptionReport report = namesAFile ? coDescribeException(failure) : WithPath(0, 0, file);
    const std::string cause = CauseOf(report);
    return cause.empty() ? report.extra : report.extra + ". " + cause;
}

bool coIsDamagedFileFailure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const chInvalidChunkX&) {
        return true;
    } catch (const gfInvalidFileBinX&) {
        return true;
    } catch (const coInvalidSaveFileX&) {
        return true;
    } catch (const coInvalidPropFileX&) {
        return true;
    } catch (const mayInvalidModelFileX&) {
        return true;
    } catch (...) {
        return false;
    }
}

bool coIsDamageOf(const std::exception_ptr& failure, const fsLocator& file) {
    if (!coIsDamagedFileFailure(failure))
        return false;
    fsLocator damaged;
    try {
        std::rethrow_exception(failure);
    } catch (const chInvalidChunkX& e) {
        damaged = e.GetLocator();
    } catch (const mayInvalidModelFileX& e) {
        damaged = e.GetLocator();
    } catch (const fsFileFailureX& e) {
        damaged = e.GetLocator();
    } catch (...) {
    }
    // Readers name the file as they opened it: a file of a search root by its path on disc.
    return damaged.GetComponentCount() == 0 || OnDisc(damaged) == OnDisc(file);
}

void coReportFileProblem(u32 number, const fsLocator& file) {
    const coExceptionReport report = WithPath(coErrorPackage, number, file);
    gfErrorHandler::Report(gfDisplayNotice, report.package, report.number, report.extra.c_str());
}

void coReportUnreadableFolders(const std::vector<fsLocator>& folders) {
    static std::set<std::string> told;
    for (const fsLocator& folder : folders) {
        const coExceptionReport report = WithPath(coErrorPackage, coErrorUnreadableFolder, folder);
        dbgLogLine(("The folder " + report.extra + " cannot be read").c_str());
        if (told.insert(report.extra).second)
            gfErrorHandler::Report(gfDisplayNotice, report.package, report.number, report.extra.c_str());
    }
}
