#include "Engine/App/Fs/fsRootTable.h"

#include "Engine/App/Fs/fsExceptions.h"

namespace {

std::vector<std::vector<fsLocator>>& Table() {
    static std::vector<std::vector<fsLocator>> table(fsStandardRootCount);
    return table;
}

fsRootTableFiller& Filler() {
    static fsRootTableFiller filler;
    return filler;
}

void CheckRoot(i32 root) {
    if (root < 0)
        throw fsInvalidLocatorX(fsLocator(root));
}

} // namespace

void fsInitRootTable(const char* volumeLabel) {
    if (Filler())
        Filler()(volumeLabel);
}

void fsSetRootTableFiller(fsRootTableFiller filler) { Filler() = std::move(filler); }

void fsResetRootTable() { Table().assign(fsStandardRootCount, {}); }

const fsLocator& fsGetRootDirectory(i32 root, u32 index) {
    CheckRoot(root);
    auto& table = Table();
    if (static_cast<u32>(root) >= table.size() || index >= table[root].size())
        throw fsInvalidLocatorX(fsLocator(root));
    return table[root][index];
}

void fsGetRootDirectories(i32 root, std::vector<fsLocator>& out) {
    CheckRoot(root);
    auto& table = Table();
    if (static_cast<u32>(root) < table.size())
        out = table[root];
    else
        out.clear();
}

void fsAddRootDirectory(i32 root, const fsLocator& directory) {
    CheckRoot(root);
    auto& table = Table();
    if (static_cast<u32>(root) >= table.size())
        table.resize(static_cast<u32>(root) + 1);
    table[root].push_back(directory);
}

void fsSetRootDirectory(i32 root, const fsLocator& directory) {
    CheckRoot(root);
    auto& table = Table();
    if (static_cast<u32>(root) >= table.size())
        table.resize(static_cast<u32>(root) + 1);
    table[root].assign(1, directory);
}

u32 fsGetRootCount() { return static_cast<u32>(Table().size()); }
