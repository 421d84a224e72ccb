#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Fs/fsLocator.h"

#include <array>
#include <bitset>
#include <map>
#include <memory>
#include <vector>

class gfFile;

// A profile's career progress, "SaveFile.isf" in the profile's folder: the binary header, then one record
// chunk per finished mission, appended in order. Loading replays the records into the two program-wide
// tables below.

inline constexpr const char* coCareerSaveFileName = "SaveFile.isf";
inline constexpr u32 coChunkCoasterCareer = chMakeId('M', 'I', 'S', 'N');
inline constexpr u32 coChunkVantorex1Career = chMakeId('M', 'I', 'S', 'X');
inline constexpr int coCareerCount = 2;
inline constexpr int coCareerMissionCount = 8;

// 0 none, 1 completed (the win level met), 2 bronze, 3 silver, 4 gold.
using coMissionGrade = i32;

// Per career: track-type name to the missions completed at least once (bit k: mission index k).
using coCareerCompletionMap = std::map<envString, std::bitset<coCareerMissionCount>>;
// Per career: track-type name to the best grade of each mission index.
using coCareerGradeMap = std::map<envString, std::array<coMissionGrade, coCareerMissionCount>>;

const std::vector<coCareerCompletionMap>& coCareerCompletion();
const std::vector<coCareerGradeMap>& coCareerGrades();

// Where the career menu receives the results of a load.
class coCareerResultsTarget {
  public:
    virtual ~coCareerResultsTarget() = default;
    virtual void SetCareerResults(const std::vector<coCareerCompletionMap>& completion,
                                  const std::vector<coCareerGradeMap>& grades,
                                  const std::vector<i32>& counts) = 0;
};

namespace coCareerSave {

// The save of a profile: the first directory of the saves root, the profile's folder, "SaveFile.isf".
fsLocator GetPath(const envString& profile);

// Appends one record, creating the profile's folder when it is missing. The file is replaced in one step, so
// it is the old or the new whole file whatever stops the program. A damaged or outdated file is reported
// (once a run), kept beside as "SaveFile.isf.bad", and replaced by one holding the records that could be read
// and the new one.
void Write(int career, const envString& profile, const envString& trackType, i32 mission,
           coMissionGrade grade);

// A stream on `temporary` (an empty file that will replace the save) holding the header and every
// well-formed chunk of the old file, positioned at its end: appending to it gives the bytes an append to
// the old file would.
std::unique_ptr<gfFile> OpenForAppend(const envString& profile, const fsLocator& temporary);

// Rebuilds the tables and `counts` (complete track types per career) from the profile's save and hands
// them to the career menu when one is given. A missing file is an empty career. A damaged file (a record
// that cannot be used, one that ends before its first record too), an outdated or unreadable one, or a
// folder in its place keeps the records read whole and is reported once a run, by the next
// `ShowReports`; the next write keeps a damaged file as ".bad" and only its whole records. Never throws.
void Load(const envString& profile, coCareerResultsTarget* menu, std::vector<i32>& counts);

// Shows the troubles that loads found and have not shown yet. The menus call it once their screen is up,
// so that the notice never stands over a screen half built.
void ShowReports();

// One record body (the reader inside its chunk of `size` bytes) into career 0's or career 1's tables;
// false, with a warning, when the record cannot be used.
bool ReadCoasterRecord(chReader& reader, u32 size);
bool ReadVantorex1Record(chReader& reader, u32 size);

} // namespace coCareerSave
