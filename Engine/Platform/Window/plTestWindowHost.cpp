#include "Engine/Platform/Window/plTestWindowHost.h"

#include <stdexcept>

bool plTestWindowHost::CreateWindow(i32 x, i32 y, i32 width, i32 height, const std::u16string& title,
                                    bool fullScreen) {
    if (m_createFails)
        return false;
    m_created = true;
    m_fullScreen = fullScreen;
    SetWindowRect(x, y, width, height);
    m_title = title;
    return true;
}

void plTestWindowHost::SetWindowRect(i32 x, i32 y, i32 width, i32 height) {
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
}

void plTestWindowHost::SetWindowTitle(const std::u16string& title) {
    m_title = title;
}

void plTestWindowHost::ClientToScreen(i32& x, i32& y) {
    x += m_x;
    y += m_y;
}

bool plTestWindowHost::PeekMessage(plMessage& message) {
    if (m_queue.empty())
        return false;
    message = m_queue.front();
    m_queue.pop_front();
    return true;
}

i32 plTestWindowHost::GetMessage(plMessage& message) {
    if (m_failingGets > 0) {
        --m_failingGets;
        message = plMessage{};
        return -1;
    }
    if (m_queue.empty()) {
        ++m_waits;
        if (m_waitHandler)
            m_waitHandler();
        if (m_queue.empty())
            throw std::logic_error("plTestWindowHost: waiting for a message that never comes");
    }
    PeekMessage(message);
    return 1;
}

void plTestWindowHost::TranslateMessage(const plMessage& message) {
    plMessage character;
    if (plTranslateKeyToChar(message, character))
        m_queue.push_front(character);
}

i64 plTestWindowHost::DefaultProcedure(const plMessage& message) {
    // The close that Alt+F4 sends comes before anything already waiting, as a sent message does.
    if (plIsCloseKey(message))
        m_queue.push_front(plMessage{.kind = plMessageKind::Close});
    return 0;
}
