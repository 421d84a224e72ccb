#pragma once
#include "Engine/Core/Env/envString.h"

#include <initializer_list>
#include <variant>

// One argument of a description: a whole number, a real number or a text.
using coFormatArg = std::variant<i32, double, envString>;

// Formats an objective description: %d and %i take a whole number, %f, %g and %e (and their capitals) a
// real number, %s a text, each with the flags "-+ 0#", a width and a precision; %% is a percent sign.
// A conversion that does not fit its argument, or has none, is copied as written with a warning; so is
// an unknown one, which takes no argument. Widths and precisions above 100 count as 100.
envString coFormatDescription(const envString& format, std::initializer_list<coFormatArg> args);
