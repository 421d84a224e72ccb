#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <vector>

// Enumerating a folder through a callback object. Entries come sorted by name (bytes of the UTF-8
// name), so that every run sees the same order. A folder that cannot be read reports no entries, is given
// to the target's `OnUnreadable` (a missing one is not) and the enumeration still returns true.
namespace fsFileEnum {

class EnumTarget {
  public:
    virtual ~EnumTarget() = default;
    // Called once per entry with the folder and a locator holding the entry's name alone (no root).
    // False stops the enumeration.
    virtual bool OnEntry(const fsLocator& directory, const fsLocator& entry) = 0;
    // A folder that is there but could not be read (one that may not be read), so not known empty.
    virtual void OnUnreadable(const fsLocator& /*directory*/) {}
};

// Collects folder plus entry name for every entry.
class FileListTarget : public EnumTarget {
  public:
    bool OnEntry(const fsLocator& directory, const fsLocator& entry) override;
    std::vector<fsLocator>& GetList() { return m_list; }

  private:
    std::vector<fsLocator> m_list;
};

// The entries that are not folders (links followed) whose names contain the filter, when one is given.
// False when the target stopped the enumeration.
bool EnumerateFiles(const fsLocator& directory, EnumTarget& target, const envString* filter = nullptr);
// Run the enumeration with a list target; when it completes, `out` is replaced by the collected
// locators, otherwise left unchanged. They return the enumeration's result.
bool ListFiles(const fsLocator& directory, std::vector<fsLocator>& out, const envString* filter = nullptr);
bool ListDirectories(const fsLocator& directory, std::vector<fsLocator>& out);

} // namespace fsFileEnum

// The sub-folders of a folder, "." and ".." included, like any other name.
bool fsEnumerateSubdirectories(const fsLocator& directory, fsFileEnum::EnumTarget& target);
// For a rooted locator, each directory of its root in order extended by the locator's components,
// stopping at the first enumeration that returns false; an unrooted locator as given.
bool fsEnumerateFiles(const fsLocator& locator, fsFileEnum::EnumTarget& target,
                      const envString* filter = nullptr);
bool fsEnumerateDirectories(const fsLocator& locator, fsFileEnum::EnumTarget& target);
