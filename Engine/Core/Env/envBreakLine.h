#pragma once
#include <functional>
#include <string_view>
#include <vector>

// A line of text (no line breaks in it) broken into rows for which `fits` holds. A row ends at the last
// place that leaves it fitting: a space, which no row keeps, or after a '/' inside a word, so that a path
// breaks between its names. Only a name wider than a row by itself is broken inside, after its longest
// fitting start. Every row takes at least one character; an empty line is one empty row.
std::vector<std::u16string_view> envBreakLine(std::u16string_view line,
                                              const std::function<bool(std::u16string_view)>& fits);
