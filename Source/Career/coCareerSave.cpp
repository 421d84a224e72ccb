#include "Source/Career/coCareerSave.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envUtf.h"
#include "Source/Settings/coErrorLine.h"
#include "Source/Settings/coErrorPackage.h"
#include "Source/Settings/coFileCause.h"
#include "Source/Settings/coPaths.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* kBadSuffix = ".bad";
constexpr u32 kHeaderSize = 8;
constexpr u32 kChunkHeaderSize = 10;
constexpr u8 kVersion[4] = {gfByteOrderData, 0, 1, 0};
constexpr u32 kDamagedSaveError = 7;
constexpr u32 kMayNotReadError = 11;
constexpr u32 kFolderNotFileError = 12;
constexpr u32 kNotReadError = 13; // "A file could not be read:", its cause on a line after the path

std::vector<coCareerCompletionMap> g_completion(coCareerCount);
std::vector<coCareerGradeMap> g_grades(coCareerCount);

fsLocator ProfileFolder(const envString& profile) {
    fsLocator folder = fsGetRootDirectory(coRootSaves, 0);
    folder.AppendComponent(profile);
    return folder;
}

fsLocator BadCopyPath(const fsLocator& path) {
    fsLocator bad = path;
    envString name = path.GetLastComponent();
    name.Append(envString(kBadSuffix));
    bad.RemoveLastComponent();
    bad.AppendComponent(name);
    return bad;
}

std::string NativePath(const fsLocator& locator) {
    std::string path;
    fsLocatorToNativePath(locator, path);
    return path;
}

// The saves whose trouble was told to the player in this run: each once, however often it is loaded
// (the profile list loads every profile at each visit), until a write replaces it.
std::set<std::string> g_reported;

struct PendingReport {
    std::string path;
    u32 package, number;
};
// Troubles found by loads and not shown yet: a load runs while its screen is being built.
std::vector<PendingReport> g_pending;

void ReportOnce(const fsLocator& path, u32 package, u32 number, const std::string& cause = {}) {
    const std::string native = NativePath(path);
    if (g_reported.insert(native).second)
        g_pending.push_back({cause.empty() ? native : native + "\n" + cause, package, number});
}

// A refused read is told by what was refused (a file that may not be read, a folder in the file's place,
// or anything else that is not a file, with its cause), the rest by their own text.
void ReportReadFailure(const fsLocator& path, const envExceptionX& failure) {
    const u32 code = failure.GetCode();
    const auto* refused = dynamic_cast<const fsReadOnlyX*>(&failure);
    if (!refused || refused->GetAccess() != fsAccess::Read)
        return ReportOnce(path, envErrorCodePackage(code), envErrorCodeNumber(code));
    const int error = refused->GetSystemError();
    if (error == EISDIR || error == EACCES || error == EPERM)
        return ReportOnce(path, envErrorCodePackage(code),
                          error == EISDIR ? kFolderNotFileError : kMayNotReadError);
    ReportOnce(path, envErrorCodePackage(code), kNotReadError,
               coErrorLine(coErrorPackage, coFileCauseText(error)));
}

void ReportDamaged(const fsLocator& path) {
    ReportOnce(path, coErrorPackage, kDamagedSaveError);
}

// What a walk over the save found. `kept` are the byte ranges worth keeping: the header and every chunk
// that is whole, up to the first that runs past the end of the file (none when even the header is
// unusable).
struct SaveScan {
    enum State { Missing, Intact, Outdated, Damaged } state = Missing;
    struct Range {
        u32 offset, length;
    };
    std::vector<Range> kept;
    u32 KeptEnd() const { return kept.empty() ? 0 : kept.back().offset + kept.back().length; }
    void Keep(u32 offset, u32 length) {
        if (!kept.empty() && KeptEnd() == offset)
            kept.back().length += length;
        else
            kept.push_back({offset, length});
    }
};

// Walks the top-level chunks, giving each well-formed one (the reader inside it) to `onChunk`, which
// answers whether its content was whole. Only a missing file is a new career: every write leaves a header
// and a record, so a file that ends before its first record lost them; a folder in its place fails to
// open.
SaveScan ScanSave(const fsLocator& path, const envString& profile,
                  const std::function<bool(chReader&, u32 id, u32 size)>& onChunk) {
    SaveScan scan;
    if (!fsFileExists(path) && !fsDirectoryExists(path))
        return scan;
    gfFile file(path, gfFileRead, gfByteOrderData);
    u8 version[4];
    try {
        file.ReadBinHeaderBeforeChunks(version);
    } catch (const gfInvalidFileBinX& failure) {
        DBG_WARNING(failure.GetDamage() == gfDamage::CutShort ? "%s is cut short before its first record"
                                                              : "%s is not a save file",
                    NativePath(path).c_str());
        scan.state = SaveScan::Damaged;
        return scan;
    }
    if (version[1] != kVersion[1] || version[2] != kVersion[2] || version[3] != kVersion[3]) {
        DBG_WARNING("You are using an old SaveFile.isf for Trackwright '%s' which is no longer valid, you "
                    "should delete your saves",
                    envStringToUtf8(profile).c_str());
        scan.state = SaveScan::Outdated;
        return scan;
    }
    scan.state = SaveScan::Intact;
    scan.Keep(0, kHeaderSize);
    chBinReader reader(&file);
    u32 id, size;
    u16 chunkVersion;
    u32 offset = kHeaderSize;
    try {
        while (reader.BeginChunk(&id, &chunkVersion, &size)) {
            const bool whole = onChunk(reader, id, size);
            reader.EndChunk();
            if (whole)
                scan.Keep(offset, kChunkHeaderSize + size);
            else
                scan.state = SaveScan::Damaged;
            offset += kChunkHeaderSize + size;
        }
    } catch (const chInvalidChunkX&) {
        // A record torn by an interrupted append: what came before it stays.
        DBG_WARNING("%s is damaged after byte %u; the records before are kept", NativePath(path).c_str(),
                    offset);
        scan.state = SaveScan::Damaged;
    }
    return scan;
}

// One record of the career save: a mission of a track type and the grade won in it.
struct Record {
    envString trackType;
    i32 mission = 0;
    coMissionGrade grade = 0;
};

// n, the name, the mission index and the grade: 12 + 2n bytes, checked before anything is read. Nothing
// when the record is damaged.
std::optional<Record> ParseRecord(chReader& reader, u32 size) {
    i32 length = -1;
    if (size >= 4)
        reader.ReadInt32(&length);
    if (length < 0 || 12 + 2 * u64(length) > size) {
        DBG_WARNING("career record with a name of %d units in %u bytes skipped", length, size);
        return std::nullopt;
    }
    Record record;
    reader.ReadChars(record.trackType, static_cast<u32>(length));
    i32 grade;
    reader.ReadInt32(&record.mission);
    reader.ReadInt32(&grade);
    if (record.mission < 0 || record.mission >= coCareerMissionCount || grade < 1 || grade > 4) {
        DBG_WARNING("career record of mission %d with grade %d skipped", record.mission, grade);
        return std::nullopt;
    }
    record.grade = static_cast<coMissionGrade>(grade);
    return record;
}

bool IsRecordChunk(u32 id) {
    return id == coChunkCoasterCareer || id == coChunkVantorex1Career;
}

// Only the game writes this file, and it writes nothing but records: a chunk of any other id is a record
// whose id was damaged (in one bit or in many), told and dropped as a damaged record is. It is never whole.
bool SkipUnknownChunk(u32 id) {
    DBG_WARNING("career chunk 0x%08X is no record; skipped", id);
    return false;
}

void Apply(int career, const Record& record) {
    g_completion[career][record.trackType].set(static_cast<size_t>(record.mission));
    coMissionGrade& best = g_grades[career][record.trackType][static_cast<size_t>(record.mission)];
    if (record.grade > best) // eight zeros when new
        best = record.grade;
}

// True when the record was whole.
bool ReadRecord(int career, chReader& reader, u32 size) {
    const std::optional<Record> record = ParseRecord(reader, size);
    if (record)
        Apply(career, *record);
    return record.has_value();
}

bool IsComplete(const envString& trackType, const std::bitset<coCareerMissionCount>& done) {
    if (trackType == envString("Final"))
        return done[0] || done[1];
    return done.all();
}

} // namespace

const std::vector<coCareerCompletionMap>& coCareerCompletion() {
    return g_completion;
}
const std::vector<coCareerGradeMap>& coCareerGrades() {
    return g_grades;
}

namespace coCareerSave {

fsLocator GetPath(const envString& profile) {
    fsLocator path = ProfileFolder(profile);
    path.AppendComponent(coCareerSaveFileName);
    return path;
}

std::unique_ptr<gfFile> OpenForAppend(const envString& profile, const fsLocator& temporary) {
    const fsLocator path = GetPath(profile);
    const SaveScan scan = ScanSave(path, profile, [](chReader& reader, u32 id, u32 size) {
        return IsRecordChunk(id) ? ParseRecord(reader, size).has_value() : SkipUnknownChunk(id);
    });

    auto file = std::make_unique<gfFile>(temporary, gfFileWrite, gfByteOrderData);
    if (!scan.kept.empty()) {
        gfFile old(path, gfFileRead, gfByteOrderData);
        std::vector<u8> bytes(scan.KeptEnd());
        if (old.Read(scan.KeptEnd(), bytes.data()) != scan.KeptEnd())
            throw gfInvalidFileBinX(path);
        for (const SaveScan::Range& range : scan.kept)
            file->Write(range.length, bytes.data() + range.offset);
    } else {
        file->WriteBinHeader(kVersion);
    }
    if (scan.state == SaveScan::Damaged || scan.state == SaveScan::Outdated) {
        ReportDamaged(path);
        const fsLocator bad = BadCopyPath(path);
        if (fsFileExists(bad))
            fsDeleteFile(bad);
        fsCopyFile(path, bad);
    }
    return file;
}

void Write(int career, const envString& profile, const envString& trackType, i32 mission,
           coMissionGrade grade) {
    // Exactly this profile's folder: the file system's reads would take one whose name differs in case.
    const fsLocator folder = ProfileFolder(profile);
    std::error_code ignored;
    if (!std::filesystem::is_directory(NativePath(folder), ignored))
        fsCreateDirectory(folder);
    fsWriteFileAtomically(GetPath(profile), [&](const fsLocator& temporary) {
        const std::unique_ptr<gfFile> file = OpenForAppend(profile, temporary);
        chBinWriter writer(file.get());
        writer.BeginChunk(career == 0 ? coChunkCoasterCareer : coChunkVantorex1Career, 0, false);
        writer.WriteUInt32(trackType.GetLength());
        writer.WriteChars(trackType.GetData(), trackType.GetLength());
        writer.WriteInt32(mission);
        writer.WriteInt32(grade);
        writer.EndChunk();
        file->Flush();
    });
    g_reported.erase(NativePath(GetPath(profile)));
}

bool ReadCoasterRecord(chReader& reader, u32 size) {
    return ReadRecord(0, reader, size);
}
bool ReadVantorex1Record(chReader& reader, u32 size) {
    return ReadRecord(1, reader, size);
}

void Load(const envString& profile, coCareerResultsTarget* menu, std::vector<i32>& counts) {
    counts.assign(coCareerCount, 0);
    g_completion.assign(coCareerCount, {});
    g_grades.assign(coCareerCount, {});

    const fsLocator path = GetPath(profile);
    try {
        const SaveScan scan = ScanSave(path, profile, [](chReader& reader, u32 id, u32 size) {
            if (id == coChunkCoasterCareer)
                return ReadCoasterRecord(reader, size);
            if (id == coChunkVantorex1Career)
                return ReadVantorex1Record(reader, size);
            return SkipUnknownChunk(id);
        });
        if (scan.state == SaveScan::Damaged || scan.state == SaveScan::Outdated)
            ReportDamaged(path);
    } catch (const envExceptionX& failure) {
        // A save that cannot be read: the career shows what was read before, the player is told.
        ReportReadFailure(path, failure);
    }

    for (int career = 0; career < coCareerCount; ++career)
        for (const auto& [trackType, done] : g_completion[career])
            counts[career] += IsComplete(trackType, done) ? 1 : 0;
    if (menu)
        menu->SetCareerResults(g_completion, g_grades, counts);
}

void ShowReports() {
    const std::vector<PendingReport> reports = std::exchange(g_pending, {});
    for (const PendingReport& report : reports)
        gfErrorHandler::Report(gfDisplayNotice, report.package, report.number, report.path.c_str());
}

} // namespace coCareerSave
