#pragma once
#include <string>
#include <vector>

// A mounted optical disc: where it is mounted and its volume label.
struct plVolume {
    std::string mountPoint;
    std::string label;
};

// The folders the start-up services fill the search roots from, and the optical discs, shaped like
// GetModuleFileName, GetTempPath, the all-users application-data folder and the CD-ROM drive walk.
// Paths are native (UTF-8, "/" between parts).
class plSystemFolders {
  public:
    virtual ~plSystemFolders() = default;
    // The full path of the program file.
    virtual std::string GetProgramPath() = 0;
    virtual std::string GetTempFolder() = 0;
    // The folder for data that the program shares; false when the system has none.
    virtual bool GetCommonAppDataFolder(std::string& out) = 0;
    // The mounted optical discs in mount order; a disc whose label cannot be read is left out.
    virtual std::vector<plVolume> GetOpticalVolumes() = 0;
};

// Linux: /proc/self/exe; $TMPDIR or /tmp; $XDG_DATA_HOME or ~/.local/share; the iso9660 and udf mounts
// of /proc/self/mountinfo, labelled by udev's /dev/disk/by-label links (else by the mount point's own
// name, which the desktop's automounter takes from the label).
class plLinuxSystemFolders : public plSystemFolders {
  public:
    std::string GetProgramPath() override;
    std::string GetTempFolder() override;
    bool GetCommonAppDataFolder(std::string& out) override;
    std::vector<plVolume> GetOpticalVolumes() override;
};

// Fixed paths and fake mounts that tests set.
class plTestSystemFolders : public plSystemFolders {
  public:
    std::string GetProgramPath() override { return programPath; }
    std::string GetTempFolder() override { return tempFolder; }
    bool GetCommonAppDataFolder(std::string& out) override;
    std::vector<plVolume> GetOpticalVolumes() override { return volumes; }

    std::string programPath = "/opt/loopvane/loopvane";
    std::string tempFolder = "/tmp";
    std::string commonAppDataFolder = "/home/player/.local/share"; // empty: none
    std::vector<plVolume> volumes;
};

// One mount of a mountinfo text: its source device, mount point and file-system type.
struct plMount {
    std::string source;
    std::string mountPoint;
    std::string type;
};

// The mounts of /proc/self/mountinfo text, with its octal escapes ("\040") decoded; malformed lines
// are skipped.
std::vector<plMount> plParseMountInfo(const std::string& text);
// The mounts whose type is iso9660 or udf, in order.
std::vector<plMount> plOpticalMounts(const std::vector<plMount>& mounts);
// A /dev/disk/by-label link name decoded: udev writes bytes it does not keep as "\xNN".
std::string plDecodeUdevLabel(const std::string& name);
