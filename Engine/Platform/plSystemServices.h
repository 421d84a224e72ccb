#pragma once
#include "Engine/Platform/Media/plSdlMovieHost.h"
#include "Engine/Platform/Sound/plSdlSoundDevice.h"
#include "Engine/Platform/plSdlMessageBox.h"
#include "Engine/Platform/plSdlWindowHost.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Platform/plTimeSource.h"

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
    plSdlMessageBox m_messageBox{m_window};
    plSdlSoundDevice m_sound;
    plSdlMovieHost m_movie{m_window};
    plServices m_services;
};
