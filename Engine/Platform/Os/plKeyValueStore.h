#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <map>
#include <string>

// The predefined key handles of the hives.
namespace plHive {
constexpr u32 ClassesRoot = 0x80000000, CurrentUser = 0x80000001, LocalMachine = 0x80000002,
              Users = 0x80000003;
constexpr u32 PerformanceData = 0x80000004, CurrentConfig = 0x80000005, DynData = 0x80000006;
} // namespace plHive

// An open key; 0 is none.
using plKeyHandle = u32;

// The store in place of the registry, shaped like its open, query, set and close calls and answering
// with their Win32 results (plErrors.h). Each hive is one INI file in the folder ("HKEY_LOCAL_MACHINE.ini"),
// a key a section named by its path ("[Software\Maker\Game]"), a value a "name=value" line; key and value
// names ignore case. A key exists when its section or a section below it does. Every call reads the
// file anew and every write replaces it whole (a temporary file, then a rename), so a failed write never
// leaves half a file. Values hold text only; text with a line break is refused.
class plKeyValueStore {
  public:
    // The folder need not exist yet: the first write creates it.
    explicit plKeyValueStore(std::string folder) : m_folder(std::move(folder)) {}

    // RegOpenKeyEx: path parts are separated by backslashes (empty parts are ignored). 0 and the handle;
    // 2 when the key does not exist; 6 for a handle that is no hive.
    u32 OpenKey(u32 hive, const std::string& path, plKeyHandle& out);
    // RegQueryValueEx of a text value into buffer, whose size in bytes (text and terminator) is given:
    // 0 with size set to the bytes written; 234 (buffer too small) or 0 (no buffer) with size set to the
    // bytes needed; 2 when the value does not exist; 6 for a key that is not open.
    u32 QueryValue(plKeyHandle key, const std::string& name, char* buffer, u32& size);
    // RegSetValueEx of a text value: 0; 87 for a name or text that a line cannot hold; 5 or 29 when the
    // file cannot be written; 6 for a key that is not open.
    u32 SetValue(plKeyHandle key, const std::string& name, const std::string& text);
    // RegCloseKey: 0, or 6 for a key that is not open.
    u32 CloseKey(plKeyHandle key);

    const std::string& GetFolder() const { return m_folder; }
    size_t GetOpenKeyCount() const { return m_keys.size(); }
    // The file of a hive, or empty for a handle that is no hive.
    std::string GetHiveFile(u32 hive) const;

  private:
    struct OpenedKey {
        std::string file;
        std::string path;
    };

    std::string m_folder;
    std::map<plKeyHandle, OpenedKey> m_keys;
    plKeyHandle m_nextHandle = 1;
};

// $LOOPVANE_CONFIG_HOME when set (tests), else $XDG_CONFIG_HOME/loopvane, else ~/.config/loopvane.
std::string plDefaultConfigFolder();
