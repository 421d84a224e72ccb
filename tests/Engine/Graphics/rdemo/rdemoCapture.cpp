// The capture run: R1 of a coaster type drawn and shown, the screenshot key (key code 43, F7) pressed and
// released on a scripted keyboard, which writes "grab0001.bmp" (or the next free number) into the folder,
// and the coaster thumbnail drawn from its chosen camera and reduced to "thumb.bmp". Each bitmap is read
// back and saved as a PNG beside it, "grab.png" and "thumb.png"; the run fails on a bitmap of the wrong size.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyCode.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inPackage.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Engine/Platform/plServices.h"
#include "Source/SavedCoaster/coCoasterThumbnail.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coScreenCapture.h"
#include "rdemo.h"
#include "rdemoCoaster.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

u32 ReadU32(const std::string& bytes, size_t at) {
    u32 value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

// An uncompressed 24-bit bitmap with bottom-up rows padded to 4 bytes, as 0xAARRGGBB top row first.
bool ReadBmp(const fs::path& file, i32& width, i32& height, std::vector<u32>& pixels) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0 || (ReadU32(bytes, 28) & 0xFFFF) != 24)
        return false;
    width = static_cast<i32>(ReadU32(bytes, 18));
    height = static_cast<i32>(ReadU32(bytes, 22));
    const size_t offset = ReadU32(bytes, 10), row = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
    if (width <= 0 || height <= 0 || offset + row * static_cast<size_t>(height) > bytes.size())
        return false;
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (i32 y = 0; y < height; ++y)
        for (i32 x = 0; x < width; ++x) {
            const auto* bgr = reinterpret_cast<const u8*>(bytes.data() + offset +
                                                          row * static_cast<size_t>(height - 1 - y) + x * 3);
            pixels[static_cast<size_t>(y * width + x)] = 0xFF000000u | bgr[2] << 16 | bgr[1] << 8 | bgr[0];
        }
    return true;
}

// The bitmap saved again as a PNG when it has the expected size and shows more than one colour.
bool ConvertToPng(const fs::path& bmp, const fs::path& png, i32 width, i32 height) {
    i32 w = 0, h = 0;
    std::vector<u32> pixels;
    if (!ReadBmp(bmp, w, h, pixels) || w != width || h != height) {
        std::fprintf(stderr, "rdemo: %s is not a %d x %d bitmap\n", bmp.c_str(), width, height);
        return false;
    }
    if (std::all_of(pixels.begin(), pixels.end(), [&](u32 pixel) { return pixel == pixels.front(); })) {
        std::fprintf(stderr, "rdemo: %s shows one colour only\n", bmp.c_str());
        return false;
    }
    return DemoWritePng(png.string(), pixels, w, h, false);
}

// F7 down on one frame's poll and up on the next, through the engine's input package, as a player
// presses it; the mode's check then grabs the shown frame.
bool PressScreenshotKey(const fs::path& folder) {
    plTestInputSource input;
    plServices services = plGetServices();
    const plServices real = services;
    services.input = &input;
    plInstallServices(services);
    const u32 keyboard = input.AddDevice(plInputDeviceKind::Keyboard, u"scripted keyboard");
    inInit();
    input.GetScript(keyboard).keys[plDik::F7] = 0x80;
    inDeviceManager::PollAll();
    input.GetScript(keyboard).keys[plDik::F7] = 0;
    inDeviceManager::PollAll();
    const inKeyboard* first = inDeviceManager::GetKeyboard(0);
    const bool released = first && first->WasKeyReleased(inKeyF7);
    fs::path written;
    if (released) {
        // The input package and the real input source come back whatever the grab does.
        try {
            std::string path;
            fsLocatorToNativePath(coGrabScreenshot(*g_pdevice), path);
            written = path;
        } catch (const envExceptionX& failure) {
            std::fprintf(stderr, "rdemo: the grab failed with 0x%08X\n", failure.GetCode());
        }
    }
    inShutdown();
    plInstallServices(real);
    if (!released)
        std::fprintf(stderr, "rdemo: the screenshot key was not seen\n");
    if (written.empty())
        return false;
    return ConvertToPng(written, folder / "grab.png", kCaptureWidth, kCaptureHeight);
}

// The game's thumbnail step: the coaster drawn into the back buffer from its chosen camera and reduced
// to 160 x 120.
bool WriteThumbnail(const fs::path& folder) {
    const fs::path bmp = folder / "thumb.bmp";
    {
        std::ofstream out(bmp, std::ios::binary);
        coWriteCoasterThumbnail(
            [&](const u8* bytes, u32 count) { out.write(reinterpret_cast<const char*>(bytes), count); },
            *g_pdevice);
    }
    g2dScreen::EndFrame();
    return ConvertToPng(bmp, folder / "thumb.png", 160, 120);
}

} // namespace

bool RunCaptureScene(const std::string& type, bool grab, bool thumb, const std::string& outFolder) {
    const fs::path folder = outFolder;
    std::error_code error;
    fs::create_directories(folder, error);
    fsLocator saves;
    fsLocatorFromNativePath(folder.c_str(), saves);
    fsAddRootDirectory(coRootSaves, saves);
    bool written = true;
    {
        DemoCoaster coaster(type, -1, true, DemoLayR1, 4);
        coaster.Draw();
        written =
            !coaster.Failed() && (!grab || PressScreenshotKey(folder)) && (!thumb || WriteThumbnail(folder));
    }
    fsResetRootTable();
    return written;
}
