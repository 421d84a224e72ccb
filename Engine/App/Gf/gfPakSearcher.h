#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/App/Gf/gfPakFile.h"

#include <memory>

// The hook through which reads of rooted locators look in the paks before the disc. The game's pak
// manager implements the locator object and installs it once its paks are mounted.
namespace gfPakSearcher {

class PakLocator {
  public:
    PakLocator() = default;
    virtual ~PakLocator() = default;
    PakLocator(const PakLocator&) = delete;
    PakLocator& operator=(const PakLocator&) = delete;

    // The pak that holds the file, or null. It may set pathInPak to the entry's path inside that pak;
    // left empty, the locator itself is the path.
    virtual gfPakFile* Locate(i32 root, const fsLocator& locator, fsLocator& pathInPak) = 0;
};

// Installs the locator object (not owned); null uninstalls it, and no pak is searched any more.
void SetPakLocator(PakLocator* locator);

// The pak that reads of a rooted locator look in, and the entry's path inside it; null when no pak
// answers (always for unrooted locators or with no locator object installed).
gfPakFile* FindPak(const fsLocator& locator, fsLocator& pathInPak);

// A read-only stream on the entry that holds a rooted locator, or null when no pak answers.
std::unique_ptr<gfPakEntryStream> OpenEntry(const fsLocator& locator);

// With a locator object installed, a pak that it names answers (unrooted locators are asked too);
// otherwise the disc decides: a rooted locator in its root's first directory, an unrooted one as given.
bool FileExists(const fsLocator& locator);

} // namespace gfPakSearcher

// The form the file streams call.
inline std::unique_ptr<gfPakEntryStream> gfFindInPaks(const fsLocator& locator) {
    return gfPakSearcher::OpenEntry(locator);
}

// For a rooted locator, whether a directory of its root holds the file (on disc, in search order);
// when none does, and for an unrooted locator, the pak searcher's answer. Disc first, unlike reads.
bool gfFileExists(const fsLocator& locator);
