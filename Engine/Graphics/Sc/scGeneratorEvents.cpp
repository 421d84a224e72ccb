#include "Engine/Graphics/Sc/scGeneratorEvents.h"

#include <map>

namespace {

// Ordered by generator; entries of one generator stay in the order they were inserted.
std::multimap<scParticleGenerator*, scGeneratorEventHandler*>& HandlerMap() {
    static std::multimap<scParticleGenerator*, scGeneratorEventHandler*> map;
    return map;
}

} // namespace

void scRegisterGeneratorEventHandler(scGeneratorEventHandler* handler, scParticleGenerator* generator) {
    HandlerMap().emplace(generator, handler);
}

void scUnregisterGeneratorEventHandler(scGeneratorEventHandler* handler) {
    std::erase_if(HandlerMap(), [handler](const auto& entry) { return entry.second == handler; });
}

void scTellGeneratorRemoved(scParticleGenerator* generator) {
    // Each entry leaves before its handler is told, and the next is looked up afresh: a handler may
    // register or unregister others while it is told.
    auto& map = HandlerMap();
    for (auto it = map.lower_bound(generator); it != map.end() && it->first == generator;
         it = map.lower_bound(generator)) {
        scGeneratorEventHandler* handler = it->second;
        map.erase(it);
        handler->OnGeneratorRemoved(generator);
    }
}

std::vector<scParticleGenerator*> scGetGeneratorsWatchedBy(const scGeneratorEventHandler* handler) {
    std::vector<scParticleGenerator*> generators;
    for (const auto& [generator, watcher] : HandlerMap())
        if (watcher == handler && (generators.empty() || generators.back() != generator))
            generators.push_back(generator);
    return generators;
}
