#pragma once
#include "Engine/Platform/MediaWriter/plMediaWriter.h"
#include "Tools/Image/toolRasteriser.h"

#include <string>

class plFontRasterizer;

// The intro movies' size, pace and length: title cards, sharp at the game's menu size, a few seconds each.
inline constexpr u32 toolMovieWidth = 800;
inline constexpr u32 toolMovieHeight = 600;
inline constexpr u32 toolMovieFrameRate = 20;
inline constexpr float toolMovieSeconds = 2.5f;

// A still card (RGB, the movie's size) that fades in from black, holds and fades out again, over the sound,
// which is cut or padded with silence to the movie's length.
plMovieContent toolTitleCardMovie(const toolImage& card, const std::vector<i16>& sound);

// The maker's card: "Zandrel Trackwrighting" in light letters on a dark blue ground over a gold rule.
toolImage toolMakerCard(plFontRasterizer& fonts);
// The game's card: its title over a red coaster whose train (the lead car and its followers as drawn by
// toolShadeModel) tops a hill under a clear sky.
toolImage toolGameCard(plFontRasterizer& fonts, const std::vector<toolShadedTriangle>& leadCar,
                       const std::vector<toolShadedTriangle>& follower);

// Writes "zandrel.avi" (the maker's card with a chime) and "brisomar.avi" (the game's card with a rising
// tune) into the data folder's "Data/Video", the game's cars read from its "Ironvale" theme.
void toolWriteIntroMovies(const std::string& dataFolder, plFontRasterizer& fonts);
