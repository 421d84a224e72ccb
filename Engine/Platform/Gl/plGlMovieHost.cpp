#include "Engine/Platform/Gl/plGlMovieHost.h"

#include "Engine/Platform/Gl/plGlContextUse.h"
#include "Engine/Platform/Gl/plGlFit.h"
#include "Engine/Platform/Sdl/plDisplayLibraries.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"

#define GL_GLEXT_PROTOTYPES 1
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <vector>

plGlVideoSink::~plGlVideoSink() {
    End();
}

bool plGlVideoSink::Begin(u32 width, u32 height) {
    End();
    SDL_Window* window = m_window.GetSdlWindow();
    if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL) || width == 0 || height == 0)
        return false;
    m_window.ShowWindow();
    if (!SDL_GL_GetCurrentContext()) {
        plPrepareGlMemory();
        m_context = SDL_GL_CreateContext(window);
        if (!m_context)
            return false;
        plPinGlLibraries();
    } else {
        // The context is the 3D device's: draw to the window rather than its back buffer, and have the
        // device send its state again afterwards.
        plGlCountForeignUse();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    m_target = window;
    m_width = width;
    m_height = height;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    m_texture = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    return true;
}

void plGlVideoSink::Present(const plVideoFrame& frame) {
    if (!m_target || frame.width != m_width || frame.height != m_height)
        return;
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(m_width), static_cast<GLsizei>(m_height),
                    GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());

    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(m_target, &drawableWidth, &drawableHeight);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // The 3D device may have left a texture transform or generated coordinates on this unit.
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, drawableWidth, drawableHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    const plGlRect shown = plGlFitCentred(drawableWidth, drawableHeight, m_width, m_height);
    glViewport(shown.left, shown.bottom, shown.width, shown.height);
    // Row 0 of the picture is its top.
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    SDL_GL_SwapWindow(m_target);
}

void plGlVideoSink::End() {
    if (!m_target)
        return;
    GLuint texture = m_texture;
    glDeleteTextures(1, &texture);
    glPopAttrib();
    if (!m_context)
        plGlCountForeignUse();
    m_texture = 0;
    if (m_context)
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
    m_context = nullptr;
    m_target = nullptr;
}

void plGlMovieHost::Wait(u32 milliseconds) {
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_PumpEvents();
    SDL_Delay(milliseconds);
}

bool plGlMovieHost::GetAsyncKeyState(u32 virtualKey) {
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return false;
    SDL_PumpEvents();
    bool down = false;
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    for (int scancode = 0; scancode < count && !down; ++scancode)
        down = keys[scancode] && plSdlVirtualKey(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode)),
                                                 scancode) == virtualKey;

    // Presses still queued for the window, looked at without taking them out.
    std::vector<SDL_Event> events(64);
    const int queued = SDL_PeepEvents(events.data(), static_cast<int>(events.size()), SDL_PEEKEVENT,
                                      SDL_KEYDOWN, SDL_KEYDOWN);
    bool pressed = false;
    u32& lastPress = m_lastPressTimes[virtualKey];
    u32 latest = lastPress;
    for (int i = 0; i < queued; ++i) {
        const SDL_KeyboardEvent& key = events[static_cast<size_t>(i)].key;
        if (key.timestamp > lastPress && !key.repeat &&
            plSdlVirtualKey(key.keysym.sym, key.keysym.scancode) == virtualKey) {
            pressed = true;
            latest = std::max(latest, key.timestamp);
        }
    }
    lastPress = latest;
    return down || pressed;
}
