#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <functional>
#include <string>

class gfFile;

// One prop pack: the word that unlocks it (stored transformed), its file in root 17, the theme that
// receives it and the definition file it becomes there.
struct coPropPackRow {
    const char* word;
    const char* packFile;
    const char* theme;
    const char* definitionFile;
};

inline constexpr int coPropPackCount = 11;
const coPropPackRow& coGetPropPackRow(int row);

// Lower-cased, then ROT13 on letters and 9 - d on digits: the form the table keeps.
envString coTransformPackWord(const envString& word);
// The first row whose word matches; false, and both locators emptied, when none does.
bool coMatchPropPack(const envString& word, fsLocator& source, fsLocator& destination);

// Writes the pack's bytes into the new file; tests stand in one that fails part-way.
using coPropPackWriter = std::function<void(gfFile& file, const std::string& content)>;
void coWritePropPack(gfFile& file, const std::string& content);

// Copies the pack into (save directory)/"Directory For Unlocked Props"/(theme), making the folders
// (the first one joins root 6), lists the new prop and rebuilds the props palette. The file is replaced
// in one step: on a failure the old one stays and the exception passes on. The geometry paks are open
// afterwards either way.
void coInstallPropPack(const fsLocator& source, const fsLocator& destination,
                       const coPropPackWriter& write = coWritePropPack);
// False when the word matches no row.
bool coUnlockPropPack(const envString& word);
void coUnlockCareerRewardPack();
