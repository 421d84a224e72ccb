#pragma once
#include "Tools/Model/toolAnimatedModels.h"
#include "Tools/Model/toolModelWriter.h"

#include <string>
#include <vector>

// A prop's model as the generator builds it. A static model (".mx") is its base fragments; a hierarchy model
// (".mhx") also has a joint placed at a point of the base, whose fragments are in the joint's own frame, and
// the animation that turns it.
struct toolPropModel {
    std::string prop; // the prop's name, as its definition file is named
    std::string file; // the model file in the theme's "Model" folder
    std::vector<toolModelFragment> base;
    maVector3d jointPlace;
    std::vector<toolModelFragment> joint;
    std::string animation; // the joint's animation file beside the model
    std::vector<toolTurnKey> turn;
};

// The "Ironvale" theme's prop models: its own bench, fountain and banner, then the eleven that the prop
// packs unlock, in the packs' order (trophy, lantern, statue, barrel, signpost, crate, totem, arch,
// windmill, beacon, gazebo). They stand on the ground at the origin; materials are plain colours that read
// without textures, except the bench's planks, whose texture only adds grain, and the banner's waving cloth.
std::vector<toolPropModel> toolIronvalePropModels();

// The "Environment" theme's scenery: a pine and a boulder, in plain colours, standing on the ground at the
// origin.
std::vector<toolPropModel> toolEnvironmentPropModels();

// The themes that lead the props palette's row, each with its props in plain colours, standing on the
// ground at the origin: "Amusement Park" (a carousel and a big wheel that turn, a ticket booth, a balloon
// cart), "Gothic" (a crypt, a bell tower, a gravestone, a dead tree) and "Monster Island" (a volcano, a sea
// serpent, a monster egg, a palm tree).
struct toolPropTheme {
    std::string folder;
    std::vector<toolPropModel> models;
};
std::vector<toolPropTheme> toolLeadingPropThemes();

// Writes the model into the folder under its file name, and its joint's animation beside it.
void toolWritePropModel(const std::string& folder, const toolPropModel& model);
// Writes every model of the list with its animation into the folder.
void toolWriteIronvalePropModels(const std::string& folder);
