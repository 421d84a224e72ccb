#include "Source/Settings/coFileCause.h"

#include "Engine/App/Fs/fsExceptions.h"

#include <cerrno>

namespace {

// The game's error texts (coErrorPackage) that say why.
constexpr u32 kDiscFull = 13;
constexpr u32 kFolderReadOnly = 14;
constexpr u32 kLinkLoop = 21;
constexpr u32 kFolderNotFile = 40;
constexpr u32 kNotAFile = 41;
constexpr u32 kInterrupted = 42;
constexpr u32 kDiscFault = 43;
constexpr u32 kNameTooLong = 44;
constexpr u32 kTooLarge = 45;
constexpr u32 kFolderOfPathIsFile = 46;
constexpr u32 kSystemRefused = 47;
constexpr u32 kRemovedWhileWritten = 48;

} // namespace

u32 coFileCauseText(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return kDiscFull;
    case EROFS:
    case EACCES:
    case EPERM:
        return kFolderReadOnly;
    case EISDIR:
        return kFolderNotFile;
    case fsNotAFileError:
    case ENXIO:
        return kNotAFile;
    case EINTR:
        return kInterrupted;
    case EIO:
        return kDiscFault;
    case ENAMETOOLONG:
        return kNameTooLong;
    case EFBIG:
    case EOVERFLOW:
        return kTooLarge;
    case ENOTDIR:
    case EEXIST: // a folder of the path could not be made
        return kFolderOfPathIsFile;
    case ELOOP:
        return kLinkLoop;
    case ENOENT: // a save's temporary or its folder went while it was written
        return kRemovedWhileWritten;
    default:
        return kSystemRefused;
    }
}
