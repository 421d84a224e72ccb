#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

// One of the error texts as a line of a box, in UTF-8, without the line break or space that ends some.
// Empty when the texts cannot give it (their set missing or damaged), so that the box leaves the line out
// rather than repeat a fallback.
std::string coErrorLine(u32 package, u32 number);
