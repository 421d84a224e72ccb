#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <map>

// What the load menu shows of one saved coaster, kept between openings in "LoadCach.bin" (directory 0
// of the saves root) so that only coaster files changed since are opened again.
struct coLoadCacheEntry {
    u32 directoryIndex = 0; // among the saves root's directories
    fsLocator file;
    envString name;
    envString dockText;
    envString environmentText;
    envString trackTypeText;
    f64 fileTime = 0.0;
    bool finished = false;
    bool loadable = false;
    // Set by the scan, never stored.
    envString dateText;
    bool readOnly = false;
    bool seen = false;
};

using coLoadCacheMap = std::map<fsLocator, coLoadCacheEntry>;

inline constexpr const char* coLoadCacheFileName = "LoadCach.bin";

// A coaster file's name: longer than its extension and ending in ".csa" in any case.
bool coIsCoasterFileName(const envString& fileName);

// Fills the map from the cache file; a missing file leaves it alone, a damaged or unreadable one (or a
// chunk of version 0) empties it. Entries naming a directory the saves root does not have are skipped.
void coReadLoadCache(coLoadCacheMap& map);
// Brings one coaster file's entry up to date, opening the file only when it is new, changed, or was not
// loadable last time (its coaster type or environment may have been installed since). A file outside
// the saves root's directories, or not named like a coaster, gets no entry; a file that cannot be read as
// a coaster gets none either (a warning names it) and an older entry of it stays unseen. True when
// the entry was read from the file, so that what the cache file holds changed.
bool coScanLoadCacheFile(const fsLocator& file, coLoadCacheMap& map);
// Replaces the cache file by the map's seen entries in one step; an empty map leaves no file.
void coWriteLoadCache(const coLoadCacheMap& map);
