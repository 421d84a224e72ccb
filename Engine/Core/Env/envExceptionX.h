#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

// Base of every exception the engine and the game throw. The code is 0xE, then the package
// number + 16 in bits 27-16, then the class's number in its package (its error text entry).
class envExceptionX {
public:
    envExceptionX() = default;
    virtual ~envExceptionX() = default;
    virtual u32 GetCode() const { return 0xE0110001; }
};

constexpr u32 envMakeErrorCode(u32 package, u32 number) { return 0xE0000000u | ((package + 16) << 16) | number; }
constexpr u32 envErrorCodePackage(u32 code) { return ((code >> 16) & 0xFFF) - 16; }
constexpr u32 envErrorCodeNumber(u32 code) { return code & 0xFFFF; }

// A package cannot start a platform service; the text names the package.
class envInitX : public envExceptionX {
public:
    explicit envInitX(const char* text) : m_text(text ? text : "") {}
    u32 GetCode() const override { return 0xE0110002; }
    const std::string& GetText() const { return m_text; }

private:
    std::string m_text;
};
