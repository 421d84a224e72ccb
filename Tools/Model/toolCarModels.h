#pragma once
#include "Tools/Model/toolModelWriter.h"

// An open coaster car of the default theme, in car space (x right, y up from the rails, z forward):
// 1.6 wide and 3.4 long, so that cars set 4 apart leave a gap. A low body in the theme's red with two
// rows of seats, a lap bar in front of each and a bogie under each end; the lead car ends in a rounded
// nose, a follower in a flat front wall. The trim caps the side walls. The ride shows one fragment of a
// car, so every colour is a material range of that one fragment.
toolModelFragment toolMakeCar(bool lead, const toolModelMaterial& trim);
