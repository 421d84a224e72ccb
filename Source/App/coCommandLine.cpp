#include "Source/App/coCommandLine.h"

#include <cstdlib>

namespace {

constexpr const char* kCheatWords[4] = {"rampglow", "velvetrug", "lineloop", "hiddenrails"};

// At most `count` characters from `at`, never past the end of the line.
std::string Window(const std::string& line, size_t at, size_t count) {
    return at < line.size() ? line.substr(at, count) : std::string();
}

void ReadCheats(const std::string& line, size_t at, coCommandLine& out) {
    while (at < line.size() && line[at] != '/') {
        const size_t blank = line.find(' ', at);
        const std::string word = line.substr(at, blank == std::string::npos ? std::string::npos : blank - at);
        for (int flag = 0; flag < 4; ++flag)
            if (word == kCheatWords[flag])
                out.cheats[flag] = true;
        if (blank == std::string::npos)
            break;
        at = blank + 1;
    }
}

void ReadMovieCapture(const std::string& line, size_t p, coCommandLine& out) {
    const f32 rate = std::strtof(Window(line, p + 2, 5).c_str(), nullptr);
    if (rate >= 1.0f && rate < 60.0f)
        out.movieFrameRate = rate;
    const size_t first = line.find(' ', p + 1);
    const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    if (second != std::string::npos) {
        const long shrink = std::strtol(Window(line, second, 5).c_str(), nullptr, 10);
        if (shrink >= 1 && shrink <= 20)
            out.movieShrink = static_cast<i32>(shrink);
    }
    out.movieCapture = true;
}

void ReadRide(const std::string& line, size_t p, coCommandLine& out) {
    const size_t open = line.find('"', p);
    const size_t close = open == std::string::npos ? open : line.find('"', open + 1);
    if (close == std::string::npos) {
        out.rideUnterminated = true;
        return;
    }
    out.ride = true;
    out.rideName = line.substr(open + 1, close - open - 1);
}

} // namespace

coCommandLine coParseCommandLine(const std::string& line, i32 resolutionPreference) {
    coCommandLine out;
    const auto has = [&line](const char* option) { return line.find(option) != std::string::npos; };
    out.mp3 = has("/mp3");
    out.windowed = has("/w");
    out.skipVideos = has("/skipvideos");
    if (const size_t p = line.find("/cheat"); p != std::string::npos && p + 7 < line.size())
        ReadCheats(line, p + 7, out);
    out.tilde = has("/tilde");
    out.loadPropsNow = has("/loadpropsnow");
    out.perpetual = has("/perpetual");
    if (const size_t p = line.find("/x"); p != std::string::npos)
        ReadMovieCapture(line, p, out);
    out.resolution = resolutionPreference;
    if (const size_t p = line.find("/r"); p != std::string::npos) {
        // An "/r" at the very end reads the terminating zero, giving a negative index.
        out.resolution = (p + 2 < line.size() ? line[p + 2] : '\0') - '0';
        out.storeResolution = out.resolution >= 0 && out.resolution <= 5;
    }
    if (const size_t p = line.find("/ride"); p != std::string::npos)
        ReadRide(line, p, out);
    return out;
}

std::string coJoinArguments(const std::vector<std::string>& arguments) {
    std::string line;
    bool afterRide = false;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += ' ';
        const bool quote = afterRide || argument.find(' ') != std::string::npos;
        line += quote ? '"' + argument + '"' : argument;
        afterRide = argument == "/ride";
    }
    return line;
}
