#pragma once
#include <cstdio>
#include <filesystem>
#include <string>

// The run of a seed writer, "<program> <folder>": the folder is made and given to 'write' as an absolute
// path. A wrong command line gives 2.
inline int fuzzWriteSeeds(int argc, char** argv, void (*write)(const std::string& folder)) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::filesystem::absolute(argv[1]).string();
    std::filesystem::create_directories(folder);
    write(folder);
    return 0;
}
