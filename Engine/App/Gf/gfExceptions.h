#pragma once
#include "Engine/App/Fs/fsExceptions.h"

// What is wrong with a file whose content its format cannot read: it ends before what it holds is
// complete, or what it holds is not what the format allows.
enum class gfDamage : u8 { Malformed, CutShort };

// A file whose content its format cannot read, with what is wrong with it. In a pak, the pak is the
// file and the entry names the part of it that is damaged.
class gfInvalidContentX : public fsFileFailureX {
  public:
    explicit gfInvalidContentX(const fsLocator& locator, gfDamage damage = gfDamage::Malformed,
                               const fsLocator& entry = {})
        : fsFileFailureX(locator), m_damage(damage), m_entry(entry) {}
    gfDamage GetDamage() const { return m_damage; }
    // The entry's path inside the pak; no components when the whole file is meant.
    const fsLocator& GetEntry() const { return m_entry; }

  private:
    gfDamage m_damage;
    fsLocator m_entry;
};

template <u32 Code> class gfInvalidContentCodeX : public gfInvalidContentX {
  public:
    using gfInvalidContentX::gfInvalidContentX;
    u32 GetCode() const override { return Code; }
};

#define GF_CONTENT_EXCEPTION(Name, Code)                                                                     \
    class Name : public gfInvalidContentCodeX<Code> {                                                        \
      public:                                                                                                \
        using gfInvalidContentCodeX::gfInvalidContentCodeX;                                                  \
    }

// The gf package files no error texts (no set is registered under package 7).
GF_CONTENT_EXCEPTION(gfInvalidTokenFileTxtX, 0xE0170001);
GF_CONTENT_EXCEPTION(gfInvalidFileBinX, 0xE0170001);
GF_CONTENT_EXCEPTION(gfInvalidTextSetFileX, 0xE0170003);
GF_CONTENT_EXCEPTION(gfInvalidPakFileX, 0xE0170004);
FS_LOCATOR_EXCEPTION(gfFileNotInPakX, 0xE0170005);

// A pak entry's local header is unreadable; the pak layer tells it as gfInvalidPakFileX naming the entry.
class gfFileCorruptX : public envExceptionX {
  public:
    u32 GetCode() const override { return 0xE0170006; }
};
