#pragma once
#include "Tools/Model/toolPropModels.h"

#include <string>
#include <vector>

// A theme of props under a data folder: each model (and its animation) in the theme's "Model" folder and a
// definition of the model's prop name in its "Data" folder. A prop whose model turns plays its turn once now
// and then and keeps turning while a train passes within 10 units.
void toolWriteThemeProps(const std::string& dataFolder, const std::string& theme,
                         const std::vector<toolPropModel>& models);
