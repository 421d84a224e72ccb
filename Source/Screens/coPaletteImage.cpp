#include "Source/Screens/coPaletteImage.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPaths.h"

namespace {

bool TrySetImage(guiImage& image, const fsLocator& file, i32 state) {
    try {
        image.SetImage(file, state);
        return true;
    } catch (const envExceptionX& e) {
        DBG_WARNING("A palette picture cannot be shown (error 0x%08X): %s", e.GetCode(),
                    coFailedFileForLog(std::current_exception(), file).c_str());
        return false;
    }
}

} // namespace

fsLocator coRootGuiFile(const char* folder, const char* file) {
    fsLocator locator(coRootGui);
    locator.AppendComponent(folder);
    locator.AppendComponent(file);
    return locator;
}

void coSetPaletteImage(guiImage& image, const fsLocator& file, i32 state) {
    TrySetImage(image, file, state);
}

void coSetPaletteImageOr(guiImage& image, const fsLocator& file, const fsLocator& fallback, i32 state) {
    if (!TrySetImage(image, file, state))
        image.SetImage(fallback, state);
}

void coSetPaletteImageOr(guiImage& image, const fsLocator& file, const fsLocator& fallback,
                         std::initializer_list<i32> states) {
    const fsLocator& shown = TrySetImage(image, file, *states.begin()) ? file : fallback;
    for (const i32 state : states)
        image.SetImage(shown, state);
}
