#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envExceptionX.h"

// An exception that carries the locator of the file or directory concerned.
template <u32 Code> class fsLocatorExceptionX : public envExceptionX {
public:
    explicit fsLocatorExceptionX(const fsLocator& locator) : m_locator(locator) {}
    u32 GetCode() const override { return Code; }
    const fsLocator& GetLocator() const { return m_locator; }

private:
    fsLocator m_locator;
};

// Each class is its own type (handlers catch by class) even where two codes coincide.
#define FS_LOCATOR_EXCEPTION(Name, Code)                                                                     \
    class Name : public fsLocatorExceptionX<Code> {                                                          \
    public:                                                                                                  \
        using fsLocatorExceptionX::fsLocatorExceptionX;                                                      \
    }

FS_LOCATOR_EXCEPTION(fsDirectoryDoesntExistX, 0xE0140001);
FS_LOCATOR_EXCEPTION(fsDirectoryNotEmptyX, 0xE0140003);
FS_LOCATOR_EXCEPTION(fsFileDoesntExistX, 0xE0140004);
FS_LOCATOR_EXCEPTION(fsFileExistsX, 0xE0140005);
FS_LOCATOR_EXCEPTION(fsFileInUseX, 0xE0140006);
FS_LOCATOR_EXCEPTION(fsInvalidLocatorX, 0xE0140007);
FS_LOCATOR_EXCEPTION(fsReadOnlyX, 0xE0140008);
FS_LOCATOR_EXCEPTION(fsUnknownX, 0xE014000A);
