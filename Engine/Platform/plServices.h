#pragma once

class plTimeSource;
class plWindowHost;
class plMessageBox;
class plSoundDevice;
class plMovieHost;
class plMediaDecoders;
class plKeyValueStore;
class plIniReader;
class plSystemFolders;
class plInstanceGuard;
class plInputSource;
class plD3d;
class plFontRasterizer;

// The platform services in force. The program entry installs the real backends (plSystemServices),
// a test fixture its fakes; the bundle does not own them.
struct plServices {
    plTimeSource* time = nullptr;
    plWindowHost* window = nullptr;
    plMessageBox* messageBox = nullptr;
    plSoundDevice* sound = nullptr;
    plMovieHost* movie = nullptr;
    plMediaDecoders* media = nullptr;

    // Start-up and input: the registry and INI stand-ins, folders and discs, the single-instance guard,
    // the input devices.
    plKeyValueStore* keyValueStore = nullptr;
    plIniReader* iniReader = nullptr;
    plSystemFolders* folders = nullptr;
    plInstanceGuard* instanceGuard = nullptr;
    plInputSource* input = nullptr;

    // The 3D device factory and the font rasterizer.
    plD3d* d3d = nullptr;
    plFontRasterizer* fonts = nullptr;
};

// Replaces the installed bundle; installing an empty bundle uninstalls everything.
void plInstallServices(const plServices& services);
const plServices& plGetServices();

// The installed service; std::logic_error when none is installed, so a missing set-up fails loudly.
plTimeSource& plGetTimeSource();
plWindowHost& plGetWindowHost();
plMessageBox& plGetMessageBox();
plSoundDevice& plGetSoundDevice();
plMediaDecoders& plGetMediaDecoders();

plKeyValueStore& plGetKeyValueStore();
plIniReader& plGetIniReader();
plSystemFolders& plGetSystemFolders();
plInstanceGuard& plGetInstanceGuard();
plInputSource& plGetInputSource();

plD3d& plGetD3d();
plFontRasterizer& plGetFontRasterizer();
