#include "Engine/Platform/plSystemServices.h"

plSystemServices::plSystemServices() {
    m_services.time = &m_time;
    m_services.window = &m_window;
    m_services.messageBox = &m_messageBox;
    m_services.sound = &m_sound;
    m_services.movie = &m_movie;
}
