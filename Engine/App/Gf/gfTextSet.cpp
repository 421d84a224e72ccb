#include "Engine/App/Gf/gfTextSet.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envLittleEndian.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

namespace {

constexpr u32 kByteOrder = gfByteOrderData;
constexpr char kTag[4] = {'K', 'S', 'T', 'S'};
constexpr u32 kHeaderAndTag = 8 + sizeof(kTag);
constexpr u32 kEntryHeaderSize = 6; // id and unit count

// What follows the tag: the set number, the count and the entries.
std::vector<u8> SetBody(u32 setNumber, const std::map<u32, envString>& texts) {
    std::vector<u8> bytes;
    envAppendLe32(bytes, setNumber);
    envAppendLe32(bytes, static_cast<u32>(texts.size()));
    for (const auto& [id, text] : texts) {
        const u32 units = std::min(text.GetLength(), gfTextSetMaxUnits);
        envAppendLe32(bytes, id);
        envAppendLe16(bytes, static_cast<u16>(units));
        for (u32 i = 0; i < units; ++i)
            envAppendLe16(bytes, text[i]);
    }
    return bytes;
}

} // namespace

void gfWriteTextSet(const fsLocator& target, u32 setNumber, const std::map<u32, envString>& texts) {
    const std::vector<u8> body = SetBody(setNumber, texts);
    gfWriteFileAtomically(target, kByteOrder, [&](gfFile& file) {
        const u8 version[4] = {0, 0, 0, 0};
        file.WriteBinHeader(version);
        file.Write(sizeof(kTag), kTag);
        file.Write(static_cast<u32>(body.size()), body.data());
    });
}

gfTextSet::gfTextSet(const fsLocator& locator, u32 setNumber, bool readOnly)
    : m_locator(locator), m_setNumber(setNumber) {
    Open(readOnly);
    ReadTexts();
}

gfTextSet::~gfTextSet() {
    if (!m_writable || !m_changed)
        return;
    try {
        Save();
    } catch (const envExceptionX& e) {
        std::string path;
        fsLocatorToNativePath(m_locator, path);
        DBG_WARNING("text set %s not saved (error 0x%08X)", path.c_str(), e.GetCode());
    } catch (const std::exception& e) {
        DBG_WARNING("text set not saved: %s", e.what());
    }
}

const envString& gfTextSet::GetText(u32 id) const {
    static const envString empty;
    const auto text = m_texts.find(id);
    return text == m_texts.end() ? empty : text->second;
}

void gfTextSet::SetText(u32 id, const envString& text) {
    if (!m_writable)
        throw fsReadOnlyX(m_locator);
    if (text.GetLength() > gfTextSetMaxUnits) {
        DBG_WARNING("text %u cut to %u units, the most a text set holds", id, gfTextSetMaxUnits);
        m_texts[id] = envString(0, gfTextSetMaxUnits, text);
    } else {
        m_texts[id] = text;
    }
    m_changed = true;
}

void gfTextSet::Save() {
    if (!m_writable)
        throw fsReadOnlyX(m_locator);
    // The set was rewritten in place, keeping its header and any old bytes past the new end. The same
    // bytes now replace the set in one step, so a failed save leaves it whole.
    std::vector<u8> old(m_file->GetSize());
    m_file->Seek(0, 0);
    if (m_file->Read(static_cast<u32>(old.size()), old.data()) != old.size())
        throw gfInvalidTextSetFileX(m_locator);
    if (!old.empty() && old.size() < kHeaderAndTag)
        throw gfInvalidTextSetFileX(m_locator);

    const fsLocator target = m_file->GetLocator();
    if (old.empty()) {
        gfWriteTextSet(target, m_setNumber, m_texts);
    } else {
        const std::vector<u8> body = SetBody(m_setNumber, m_texts);
        gfWriteFileAtomically(target, kByteOrder, [&](gfFile& file) {
            file.Write(kHeaderAndTag, old.data());
            file.Write(static_cast<u32>(body.size()), body.data());
            const u64 end = kHeaderAndTag + body.size();
            if (old.size() > end)
                file.Write(static_cast<u32>(old.size() - end), old.data() + end);
        });
    }
    m_file = std::make_unique<gfFile>(target, gfFileReadWrite, kByteOrder);
    m_changed = false;
}

void gfTextSet::Open(bool readOnly) {
    if (!readOnly) {
        try {
            m_file = std::make_unique<gfFile>(m_locator, gfFileReadWrite, kByteOrder);
            m_writable = true;
            return;
        } catch (const fsReadOnlyX&) {
            // Read what can be read; the set is then not writable.
        }
    }
    m_file = std::make_unique<gfFile>(m_locator, gfFileRead, kByteOrder);
}

void gfTextSet::ReadTexts() {
    const u32 size = m_file->GetSize();
    if (size == 0) {
        // A new set gets its header when it is saved or closed. One that cannot be written was written
        // once, and has lost everything: its texts would all be empty.
        if (!m_writable)
            throw gfInvalidTextSetFileX(m_locator, gfDamage::CutShort);
        m_changed = true;
        return;
    }
    u8 version[4];
    m_file->ReadBinHeader(version);
    u8 fields[12]; // tag, set number, count
    const u32 read = m_file->Read(sizeof(fields), fields);
    if (version[0] != kByteOrder || std::memcmp(fields, kTag, std::min<u32>(read, sizeof(kTag))) != 0)
        throw gfInvalidTextSetFileX(m_locator);
    if (read != sizeof(fields))
        throw gfInvalidTextSetFileX(m_locator, gfDamage::CutShort);
    m_setNumber = envLe32(fields + 4);
    const i32 count = static_cast<i32>(envLe32(fields + 8));
    if (count <= 0)
        return;

    // The count comes from the file: it must fit the bytes left before anything is allocated for it.
    std::vector<u8> data(size - m_file->Tell());
    if (static_cast<u64>(count) > data.size() / kEntryHeaderSize ||
        m_file->Read(static_cast<u32>(data.size()), data.data()) != data.size())
        throw gfInvalidTextSetFileX(m_locator, gfDamage::CutShort);
    size_t at = 0;
    for (i32 entry = 0; entry < count; ++entry) {
        if (data.size() - at < kEntryHeaderSize)
            throw gfInvalidTextSetFileX(m_locator, gfDamage::CutShort);
        const u32 id = envLe32(&data[at]);
        const i16 length = static_cast<i16>(envLe16(&data[at + 4]));
        at += kEntryHeaderSize;
        const size_t units = length > 0 ? static_cast<size_t>(length) : 0;
        if (data.size() - at < units * 2)
            throw gfInvalidTextSetFileX(m_locator, gfDamage::CutShort);
        envString text;
        for (size_t i = 0; i < units; ++i, at += 2)
            text.AppendChar(static_cast<char16_t>(envLe16(&data[at])));
        m_texts[id] = std::move(text);
    }
}
