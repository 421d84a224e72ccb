#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <map>
#include <memory>

class gfFile;

// The most units a text holds: its length is read back as a signed 16-bit number.
constexpr u32 gfTextSetMaxUnits = 32767;

// Localised texts by 32-bit id, from a ".tsf" file: the binary data-file header (byte-order byte 2),
// "KSTS", the set number, the entry count, then per entry the id, a 16-bit unit count and the units.
// The whole file is read when the set is opened; a writable set keeps its file open and writes the
// texts back with Save (the destructor saves a changed set, but never throws).
// Writes a new set file in place of `target` in one step: the header, the tag and the texts, nothing of
// an old file kept. Texts longer than gfTextSetMaxUnits are cut to it.
void gfWriteTextSet(const fsLocator& target, u32 setNumber, const std::map<u32, envString>& texts);

class gfTextSet {
  public:
    // readOnly: opened for reading (paks first). Otherwise opened for reading and writing on disc,
    // or read-only when the disc refuses writing (fsReadOnlyX). An empty file opened writable is a new
    // set with the given set number; one that can only be read is a set cut short, gfInvalidTextSetFileX.
    // A file with another header or tag throws gfInvalidTextSetFileX (a wrong magic gfInvalidFileBinX),
    // as does a count or a text that runs past the end of the file.
    gfTextSet(const fsLocator& locator, u32 setNumber, bool readOnly);
    ~gfTextSet();
    gfTextSet(const gfTextSet&) = delete;
    gfTextSet& operator=(const gfTextSet&) = delete;

    bool HasText(u32 id) const { return m_texts.count(id) != 0; }
    // The text of the id; an empty text when the set does not hold it.
    const envString& GetText(u32 id) const;
    // Writable sets only (fsReadOnlyX otherwise). Texts are cut to 32767 units, the most a set holds.
    void SetText(u32 id, const envString& text);
    // Rewrites the set: its header and any bytes past the new last text are kept, the count tells where
    // the texts end. The file is replaced in one step, so a failed save leaves it whole. Throws
    // fsReadOnlyX for a set that is not writable, and the file's exceptions.
    void Save();

    u32 GetSetNumber() const { return m_setNumber; }
    bool IsWritable() const { return m_writable; }
    const std::map<u32, envString>& GetTexts() const { return m_texts; }

  private:
    void Open(bool readOnly);
    void ReadTexts();

    fsLocator m_locator; // the caller's, carried by the exceptions about the set
    std::unique_ptr<gfFile> m_file;
    std::map<u32, envString> m_texts;
    u32 m_setNumber = 0;
    bool m_writable = false;
    bool m_changed = false;
};
