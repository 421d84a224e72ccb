#pragma once
#include "Tools/Model/toolModelWriter.h"

#include <string>
#include <vector>

// One model file of the default content: its path under the data folder and its fragments.
struct toolDefaultModel {
    std::string path;
    std::vector<toolModelFragment> fragments;
};

// The models of the default content: the "Steel" type's crossbar and its support models, and the
// default theme's lead and follower cars of both types.
std::vector<toolDefaultModel> toolDefaultModels();
// Writes every default model under the data folder.
void toolWriteDefaultModels(const std::string& dataFolder);
// Writes the "Wooden" type's crossbar into the folder its pak is packed from.
void toolWriteWoodenModels(const std::string& woodenFolder);
