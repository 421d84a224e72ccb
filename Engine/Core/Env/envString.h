#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <memory>
#include <string>

// The engine's wide string: UTF-16 code units, no stored terminator, unsigned comparison.
// A default-constructed string owns no storage (GetData() is null); Clear keeps the storage.
class envString {
public:
    envString() = default;
    envString(const char* text);
    envString(const wchar_t* text);
    envString(const char16_t* text);
    envString(const envString& other);
    envString(envString&& other) noexcept;
    // Substring; start and count are clipped to the source.
    envString(u32 start, u32 count, const envString& source);
    ~envString() = default;

    envString& operator=(const envString& other);
    envString& operator=(envString&& other) noexcept;
    envString& operator=(const char* text);
    envString& operator=(const wchar_t* text);

    u32 GetLength() const { return m_length; }
    const char16_t* GetData() const { return m_data.get(); }
    char16_t operator[](u32 index) const { return m_data[index]; }

    bool operator==(const envString& other) const;
    bool operator!=(const envString& other) const { return !(*this == other); }
    bool operator<(const envString& other) const;

    bool Contains(const envString& needle) const;
    void Append(const envString& other);
    void AppendChar(char16_t unit);
    void InsertChar(u32 position, char16_t unit);
    void EraseChar(u32 position);
    void Resize(u32 length);
    void Clear() { m_length = 0; }
    void TruncateAtNull();

private:
    void Assign(const char16_t* units, u32 count);
    void Reserve(u32 added);

    std::unique_ptr<char16_t[]> m_data;
    u32 m_length = 0;
    u32 m_capacity = 0;
};

// Byte i of the result is the low byte of unit i.
void envStringToNarrow(std::string& out, const envString& text);
std::string envStringToNarrow(const envString& text);
// Reads a leading decimal number (blanks, sign, digits, fraction, exponent); anything else gives 0.
double envStringToFloat(const envString& text);
