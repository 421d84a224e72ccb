#include "Engine/Core/Env/envBreakLine.h"

namespace {

using Fits = std::function<bool(std::u16string_view)>;

// The longest start of the text that fits, at least one unit.
size_t LongestFittingStart(std::u16string_view text, const Fits& fits) {
    size_t length = 1;
    while (length < text.size() && fits(text.substr(0, length + 1)))
        ++length;
    return length;
}

} // namespace

std::vector<std::u16string_view> envBreakLine(std::u16string_view line, const Fits& fits) {
    std::vector<std::u16string_view> rows;
    std::u16string_view rest = line;
    while (!rest.empty() && !fits(rest)) {
        // The last space or '/' that leaves a fitting row; a '/' that starts a word (the root of an
        // absolute path) is no place to break.
        size_t length = 0, dropped = 0;
        for (size_t at = rest.size() - 1; at > 0 && length == 0; --at) {
            if (rest[at] == u' ' && fits(rest.substr(0, at)))
                length = at, dropped = 1;
            else if (rest[at] == u'/' && rest[at - 1] != u' ' && fits(rest.substr(0, at + 1)))
                length = at + 1;
        }
        if (length == 0)
            length = LongestFittingStart(rest, fits);
        rows.push_back(rest.substr(0, length));
        rest.remove_prefix(length + dropped);
    }
    if (!rest.empty() || rows.empty())
        rows.push_back(rest);
    return rows;
}
