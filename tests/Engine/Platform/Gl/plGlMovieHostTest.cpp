#include "Engine/Platform/Gl/plGlMovieHost.h"
#include "Engine/Platform/Media/plMediaFixtures.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"
#include "Engine/Platform/Window/plVirtualKeys.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

namespace {

void PushSpace(Uint32 timestamp) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.timestamp = timestamp;
    e.key.keysym.sym = SDLK_SPACE;
    e.key.keysym.scancode = SDL_SCANCODE_SPACE;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
}

int QueuedEvents() {
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
}

plVideoFrame Bars() {
    plVideoFrame frame;
    frame.width = 64;
    frame.height = 48;
    frame.rgba = plColourBars(64, 48);
    return frame;
}

} // namespace

TEST(plGlMovieHost, KeysAreReadWithoutTakingEventsOutOfTheQueue) {
    plSdlWindowHost window;
    plGlMovieHost host(window);
    // Before SDL's video is started there is no keyboard: nothing is down, waiting still waits.
    EXPECT_FALSE(host.GetAsyncKeyState(plVk::Space));
    host.Wait(1);

    ASSERT_TRUE(window.CreateWindow(0, 0, 64, 48, u"movie", false));
    // The dummy driver has no OpenGL: the sink declines and the movie plays unseen.
    EXPECT_FALSE(host.GetVideoSink().Begin(64, 48));
    host.GetVideoSink().Present(Bars());
    host.GetVideoSink().End();

    host.Wait(1);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    EXPECT_FALSE(host.GetAsyncKeyState(plVk::Space));
    PushSpace(SDL_GetTicks() + 1);
    EXPECT_TRUE(host.GetAsyncKeyState(plVk::Space));
    // Each press counts once, and it is still there for the window's own loop.
    EXPECT_FALSE(host.GetAsyncKeyState(plVk::Space));
    EXPECT_EQ(QueuedEvents(), 1);
    EXPECT_FALSE(host.GetAsyncKeyState('A'));
}

// Run under Xvfb by its own test: the picture drawn into the window's OpenGL context.
TEST(plXvfbMovie, TheSinkDrawsThePictureOverTheWindow) {
    plSdlWindowHost window;
    ASSERT_TRUE(window.CreateWindow(0, 0, 128, 96, u"movie", false));
    plGlMovieHost host(window);
    plVideoSink& sink = host.GetVideoSink();
    ASSERT_TRUE(sink.Begin(64, 48));
    sink.Present(Bars());
    // Mesa keeps the back buffer through the swap, so what was drawn can be read there.
    glReadBuffer(GL_BACK);
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window.GetSdlWindow(), &width, &height);
    std::vector<u8> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    sink.End();
    // The window has the picture's shape, so the bars fill it.
    for (u32 bar = 0; bar < 8; ++bar) {
        const int x = static_cast<int>((bar * 2 + 1) * width / 16);
        const u8* pixel = &pixels[(static_cast<size_t>(height / 2) * width + x) * 4];
        const auto expected = plBarColour(bar);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(pixel[c], expected[c], 8) << "bar " << bar;
    }
}
