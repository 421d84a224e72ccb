#include "Engine/Platform/Sdl/plSdlDrawnBox.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Sdl/plDisplayLibraries.h"
#include "Engine/Platform/Sdl/plEndSession.h"

#include <SDL.h>

#include <optional>

namespace {

// How long a wait for events lasts before the termination signal is looked at again.
constexpr Uint32 kWaitSliceMs = 100;

// The box's window; video is started for it when nothing else has.
class BoxWindow {
  public:
    BoxWindow(const plMessageBoxPicture& picture, const std::string& caption, SDL_Window* owner) {
        // Closing the box is its answer, not a quit of the program.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        // A click that brings the box to the front presses its button too (SDL drops clicks that come
        // right after the focus otherwise); the game's own windows keep their setting.
        if (const char* clickThrough = SDL_GetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH))
            m_clickThrough = clickThrough;
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            DBG_WARNING("SDL video cannot start for a message box: %s", SDL_GetError());
            return;
        }
        m_videoStarted = true;
        m_window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    static_cast<int>(picture.GetWidth()),
                                    static_cast<int>(picture.GetHeight()), SDL_WINDOW_HIDDEN);
        // SDL reads the pixels only; the surface does not own them.
        m_picture = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<u32*>(picture.GetPixels().data()), static_cast<int>(picture.GetWidth()),
            static_cast<int>(picture.GetHeight()), 32, static_cast<int>(picture.GetWidth() * 4),
            SDL_PIXELFORMAT_RGB888);
        if (!m_window || !m_picture) {
            DBG_WARNING("A message box window cannot be made: %s", SDL_GetError());
            return;
        }
        if (owner)
            SDL_SetWindowModalFor(m_window, owner);
        SDL_ShowWindow(m_window);
        SDL_RaiseWindow(m_window);
        SDL_SetWindowInputFocus(m_window);
        m_shown = Draw();
    }
    ~BoxWindow() {
        if (m_clickThrough)
            SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, m_clickThrough->c_str());
        else
            SDL_ResetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH);
        if (m_picture)
            SDL_FreeSurface(m_picture);
        if (m_window)
            SDL_DestroyWindow(m_window);
        if (m_videoStarted) {
            plPinLoadedLibraries();
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }
    BoxWindow(const BoxWindow&) = delete;
    BoxWindow& operator=(const BoxWindow&) = delete;

    bool IsShown() const { return m_shown; }
    Uint32 GetId() const { return SDL_GetWindowID(m_window); }

    bool Draw() {
        SDL_Surface* surface = SDL_GetWindowSurface(m_window);
        if (!surface || SDL_BlitSurface(m_picture, nullptr, surface, nullptr) != 0 ||
            SDL_UpdateWindowSurface(m_window) != 0) {
            DBG_WARNING("A message box cannot be drawn: %s", SDL_GetError());
            return false;
        }
        return true;
    }

  private:
    bool m_videoStarted = false;
    bool m_shown = false;
    SDL_Window* m_window = nullptr;
    SDL_Surface* m_picture = nullptr;
    std::optional<std::string> m_clickThrough;
};

} // namespace

i32 plShowDrawnBox(const plMessageBoxPicture& picture, const std::string& captionUtf8, SDL_Window* owner,
                   i32 enterAnswer, i32 closeAnswer) {
    BoxWindow box(picture, captionUtf8, owner);
    if (!box.IsShown())
        return -1;
    const Uint32 id = box.GetId();
    SDL_Event event;
    while (!plEndSessionSignalled()) {
        if (!SDL_WaitEventTimeout(&event, kWaitSliceMs))
            continue;
        switch (event.type) {
        case SDL_WINDOWEVENT:
            if (event.window.windowID != id)
                break;
            if (event.window.event == SDL_WINDOWEVENT_CLOSE)
                return closeAnswer;
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
                box.Draw();
            break;
        case SDL_KEYDOWN:
            if (event.key.windowID != id)
                break;
            if (event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER)
                return enterAnswer;
            if (event.key.keysym.sym == SDLK_ESCAPE)
                return closeAnswer;
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.windowID == id && event.button.button == SDL_BUTTON_LEFT)
                if (const i32 pressed = picture.ButtonAt(event.button.x, event.button.y))
                    return pressed;
            break;
        default:
            break;
        }
    }
    return closeAnswer;
}
