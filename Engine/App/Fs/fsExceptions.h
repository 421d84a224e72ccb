#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envExceptionX.h"

#include <cerrno>

// An exception that carries the locator of the file or directory concerned, and the errno of the system
// call that failed (0 when none did).
class fsFileFailureX : public envExceptionX {
  public:
    explicit fsFileFailureX(const fsLocator& locator, int systemError = 0)
        : m_locator(locator), m_systemError(systemError) {}
    const fsLocator& GetLocator() const { return m_locator; }
    int GetSystemError() const { return m_systemError; }
    // A failure in a step made for another file (a save's temporary) is told under that file's name.
    void SetLocator(const fsLocator& locator) { m_locator = locator; }
    // The file whose content gave this file's name (a definition naming a model), when that is known, and
    // in a pak the entry's path inside it: a damaged name reads as a file that is not there, so the report
    // names where the name came from as well.
    const fsLocator& GetNamedIn() const { return m_namedIn; }
    const fsLocator& GetNamedInEntry() const { return m_namedInEntry; }
    void SetNamedIn(const fsLocator& file, const fsLocator& entry = {}) {
        m_namedIn = file;
        m_namedInEntry = entry;
    }

  private:
    fsLocator m_locator;
    int m_systemError;
    fsLocator m_namedIn;
    fsLocator m_namedInEntry;
};

template <u32 Code> class fsLocatorExceptionX : public fsFileFailureX {
  public:
    using fsFileFailureX::fsFileFailureX;
    u32 GetCode() const override { return Code; }
};

// Each class is its own type (handlers catch by class) even where two codes coincide.
#define FS_LOCATOR_EXCEPTION(Name, Code)                                                                     \
    class Name : public fsLocatorExceptionX<Code> {                                                          \
      public:                                                                                                \
        using fsLocatorExceptionX::fsLocatorExceptionX;                                                      \
    }

FS_LOCATOR_EXCEPTION(fsDirectoryDoesntExistX, 0xE0140001);
FS_LOCATOR_EXCEPTION(fsDirectoryNotEmptyX, 0xE0140003);
FS_LOCATOR_EXCEPTION(fsFileDoesntExistX, 0xE0140004);
FS_LOCATOR_EXCEPTION(fsFileExistsX, 0xE0140005);
FS_LOCATOR_EXCEPTION(fsFileInUseX, 0xE0140006);
FS_LOCATOR_EXCEPTION(fsInvalidLocatorX, 0xE0140007);
FS_LOCATOR_EXCEPTION(fsUnknownX, 0xE014000A);

// The system error a file failure carries when a pipe, a device or a socket stands where a file was asked
// for (a device without its driver says the same).
inline constexpr int fsNotAFileError = ENODEV;

// What was being done with the file when the system refused it.
enum class fsAccess { Write, Read };

// Access refused: a file or folder that may not be changed, or, when reading, a file that may not be read
// or a folder where a file was asked for (system error EISDIR), or something else that is not a file
// (fsNotAFileError). Callers catch the one class; the player is
// told by the access which of these it was.
class fsReadOnlyX : public fsLocatorExceptionX<0xE0140008> {
  public:
    explicit fsReadOnlyX(const fsLocator& locator, int systemError = 0, fsAccess access = fsAccess::Write)
        : fsLocatorExceptionX(locator, systemError), m_access(access) {}
    fsAccess GetAccess() const { return m_access; }

  private:
    fsAccess m_access;
};
