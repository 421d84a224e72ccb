#pragma once

class plTimeSource;
class plWindowHost;
class plMessageBox;
class plSoundDevice;
class plMovieHost;

// The platform services in force. The program entry installs the real backends (plSystemServices),
// a test fixture its fakes; the bundle does not own them.
struct plServices {
    plTimeSource* time = nullptr;
    plWindowHost* window = nullptr;
    plMessageBox* messageBox = nullptr;
    plSoundDevice* sound = nullptr;
    plMovieHost* movie = nullptr;
};

// Replaces the installed bundle; installing an empty bundle uninstalls everything.
void plInstallServices(const plServices& services);
const plServices& plGetServices();

// The installed service; std::logic_error when none is installed, so a missing set-up fails loudly.
plTimeSource& plGetTimeSource();
plWindowHost& plGetWindowHost();
plMessageBox& plGetMessageBox();
plSoundDevice& plGetSoundDevice();
plMovieHost& plGetMovieHost();
