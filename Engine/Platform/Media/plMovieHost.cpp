#include "Engine/Platform/Media/plMovieHost.h"

bool plRecordingVideoSink::Begin(u32 width, u32 height) {
    ++m_begun;
    m_width = width;
    m_height = height;
    return true;
}

void plTestMovieHost::Wait(u32 milliseconds) {
    m_waited += milliseconds;
    if (m_waitHandler)
        m_waitHandler(milliseconds);
}

bool plTestMovieHost::GetAsyncKeyState(u32 virtualKey) {
    const bool pressed = m_pressed.erase(virtualKey) > 0;
    return pressed || m_down.count(virtualKey) > 0;
}

void plTestMovieHost::SetKeyDown(u32 virtualKey, bool down) {
    if (down) {
        m_down.insert(virtualKey);
        m_pressed.insert(virtualKey);
    } else {
        m_down.erase(virtualKey);
    }
}
