#include "Source/Screens/coReportException.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/SavedCoaster/coInvalidSaveFileX.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/World/coInvalidPropFileX.h"

#include <cstdio>
#include <new>

namespace {

// The file's path on disc, so the player can find it: a file of a search root is named in the root's
// directory that holds it (or its first).
coExceptionReport WithPath(u32 package, u32 number, fsLocator file) {
    coExceptionReport report{package, number, {}};
    try {
        fsResolveRoot(file);
    } catch (const envExceptionX&) {
        // A root without directories: the components are all there is to name.
    }
    fsLocatorToNativePath(file, report.extra);
    return report;
}

template <class X> coExceptionReport WithPath(u32 package, u32 number, const X& e) {
    return WithPath(package, number, e.GetLocator());
}

} // namespace

coExceptionReport coDescribeException(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const coScreenScriptX& e) {
        return WithPath(coErrorPackage, coErrorScreenScript, e);
    } catch (const fsFileDoesntExistX& e) {
        return WithPath(4, 4, e);
    } catch (const fsDirectoryDoesntExistX& e) {
        return WithPath(4, 1, e);
    } catch (const gfFileNotInPakX& e) {
        return WithPath(7, 5, e);
    } catch (const fsReadOnlyX& e) {
        return WithPath(4, 8, e);
    } catch (const fsUnknownX& e) {
        return WithPath(coErrorPackage, coErrorUnknownFile, e);
    } catch (const snSoundSystemCreateFailedX&) {
        return {coErrorPackage, coErrorSound, {}};
    } catch (const snSoundSystemBufferCreateFailedX&) {
        return {coErrorPackage, coErrorSound, {}};
    } catch (const std::bad_alloc&) {
        return {coErrorPackage, coErrorGeneral, ": std::bad_alloc (out of memory?)"};
    } catch (const envExceptionX& e) {
        const u32 code = e.GetCode();
        char extra[32];
        std::snprintf(extra, sizeof extra, ": (%d-%d)", static_cast<int>(envErrorCodePackage(code)),
                      static_cast<int>(envErrorCodeNumber(code)));
        return {coErrorPackage, coErrorGeneral, extra, code};
    } catch (...) {
        return {coErrorPackage, coErrorGeneral, {}};
    }
}

coExceptionReport coReportCurrentException() {
    coExceptionReport report = coDescribeException(std::current_exception());
    if (report.code != 0) {
        // The player's message says only which package failed: the log says how, in its own words.
        std::string own = envStringToNarrow(gfErrorHandler::GetMessage(
            envErrorCodePackage(report.code), envErrorCodeNumber(report.code), nullptr));
        own.erase(own.find_last_not_of(" \n") + 1);
        dbgLogLine(("The failure" + report.extra + " " + own).c_str());
    }
    gfErrorHandler::Report(gfDisplayNotice, report.package, report.number,
                           report.extra.empty() ? nullptr : report.extra.c_str());
    return report;
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
    } catch (...) {
        return false;
    }
}

void coReportFileProblem(u32 number, const fsLocator& file) {
    const coExceptionReport report = WithPath(coErrorPackage, number, file);
    gfErrorHandler::Report(gfDisplayNotice, report.package, report.number, report.extra.c_str());
}
