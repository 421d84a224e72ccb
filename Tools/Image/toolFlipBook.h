#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// A UV-animated texture: frames in cells of columns x rows on each page, played at a fixed rate.
struct toolFlipBook {
    i32 frameCount = 1;
    i32 columns = 1;
    i32 rows = 1;
    f32 framesPerSecond = 24.0f;
    bool loop = true;
    bool pingPong = false;
    // Image file names, relative to the flip-book's folder, in page order.
    std::vector<std::string> pages;
};

// Writes the ".tuv" file at the path, replacing any file there only once the new one is complete.
void toolWriteFlipBook(const std::string& path, const toolFlipBook& book);
