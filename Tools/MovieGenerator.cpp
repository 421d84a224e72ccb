// Makes the intro movies, the maker's and the game's title cards, into "Data/Video" of a data folder; the
// game's card shows the "Ironvale" theme's steel train, so it runs after the model generator:
//   lvMovieGenerator <data folder>
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Tools/Media/toolIntroMovies.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvMovieGenerator <data folder>\n", stderr);
        return 2;
    }
    try {
        plFreeTypeFonts fonts;
        toolWriteIntroMovies(argv[1], fonts);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvMovieGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvMovieGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
