#pragma once
#include "Engine/Platform/Codec/plLibMediaDecoders.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Gl/plGlD3d.h"
#include "Engine/Platform/Gl/plGlMovieHost.h"
#include "Engine/Platform/Os/plIniReader.h"
#include "Engine/Platform/Os/plInstanceGuard.h"
#include "Engine/Platform/Os/plKeyValueStore.h"
#include "Engine/Platform/Os/plSystemFolders.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Sdl/plSdlInputSource.h"
#include "Engine/Platform/Sdl/plSdlMessageBox.h"
#include "Engine/Platform/Sdl/plSdlSoundDevice.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"
#include "Engine/Platform/plServices.h"

// The real backends, owned for the program's run; the program entry installs GetServices().
class plSystemServices {
  public:
    plSystemServices();
    plSystemServices(const plSystemServices&) = delete;
    plSystemServices& operator=(const plSystemServices&) = delete;

    const plServices& GetServices() const { return m_services; }

  private:
    plMonotonicTimeSource m_time;
    plSdlWindowHost m_window;
    // Before the message box, which draws with it where SDL's own box cannot show.
    plFreeTypeFonts m_fonts;
    plSdlMessageBox m_messageBox{m_window, m_fonts};
    plSdlSoundDevice m_sound;
    plGlMovieHost m_movie{m_window};
    plLibMediaDecoders m_media;
    plGlD3d m_d3d{m_window};

    plKeyValueStore m_keyValueStore{plDefaultConfigFolder()};
    plLinuxSystemFolders m_folders;
    plIniReader m_iniReader;
    plFlockInstanceGuard m_instanceGuard{m_folders.GetTempFolder()};
    // After the window host, so it is released first and the host can end SDL.
    plSdlInputSource m_input;

    plServices m_services;
};
