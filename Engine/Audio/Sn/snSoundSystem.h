#pragma once

// The program-wide sound device. Every sound buffer operation tests the up flag and does nothing
// while the device is down, so a game without sound runs silently.
bool snIsSoundSystemUp();
// When not up: opens the installed sound device, creates its primary buffer and plays it in the
// output format (22050 Hz, mono, 16 bits). Throws snSoundSystemCreateFailedX when the device cannot
// be opened, snSoundSystemBufferCreateFailedX when the primary buffer cannot be created.
void snStartSoundSystem();
// When up: closes the device.
void snStopSoundSystem();
