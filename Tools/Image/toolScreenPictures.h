#pragma once
#include "Engine/Core/Env/envString.h"
#include "Tools/Image/toolDefaultTextures.h"

class plFontRasterizer;

// The menus' backdrops (800 x 600, their gradients dithered to the 5 bits a channel they are shown in; the
// main menu's carrying the game's name), each cut into twelve 200 x 200 tiles "Data/GUI/<m>/<m>_0.png" to
// "_11.png" (tile i from (200 (i mod 4), 200 (i div 4))) for uimm, uilm, uisi, uicm, uicc and uicd; the
// career's medal pictures "uicm/uicm{br,sl,gd}bi.png" (256 x 128, for the medal question) and "sm.png"
// (32 x 32, beside the career menu's counts); the options' on/off switches "uiod/uiodck", off and on ("_s"),
// idle, under the pointer ("_o") and disabled ("_d"); the faces of the main menu's and the question
// dialog's buttons by the state rule ("_i", "_o", "_p", "_d") and the dialog's background. The credits
// are loaded without a text set, so their Ok faces carry the caption, lettered with the fonts.
std::vector<toolDefaultTexture> toolScreenPictures(const envString& okCaption, plFontRasterizer& fonts);
// A menu's whole backdrop, as its tiles cut it but for the main menu's title (between the rows of the
// tiles' centres, y 140 to 260, left of x 490); another name than the six gives a grey one.
toolImage toolMenuBackdrop(const std::string& menu);
