#pragma once
#include "Engine/App/Ch/chTxtReader.h"

#include <array>
#include <utility>

// The keywords of the text scripts with the four-character chunk ids of the binary ones. The first
// thirteen are the window keywords, the next five the material keywords.
using gprKeywordEntry = std::pair<const char*, const char*>;
extern const std::array<gprKeywordEntry, 112> gprKeywordTable;

// Fills the program-wide keyword map from the table (package start).
void gprFillKeywords();
// Replaces the id of a keyword already present.
void gprRegisterKeyword(const std::string& keyword, u32 id);
// Exact, case-sensitive; 0 for a word the map does not hold.
u32 gprLookUpKeyword(const std::string& keyword);
// The keyword of an id; empty when no keyword has it.
std::string gprKeywordOfId(u32 id);
// The whole map, handed to the text reader as its names.
const chTagMap& gprGetKeywords();
void gprClearKeywords();
