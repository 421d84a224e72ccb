#pragma once
#include <vector>

class scParticleGenerator;

// Told when a particle generator it watches is deleted, just before it goes.
class scGeneratorEventHandler {
  public:
    virtual ~scGeneratorEventHandler() = default;
    virtual void OnGeneratorRemoved(scParticleGenerator* generator) = 0;
};

// The map from generators to the handlers that watch them: one generator may have several handlers and
// one handler may watch several generators.
void scRegisterGeneratorEventHandler(scGeneratorEventHandler* handler, scParticleGenerator* generator);
// Forgets every entry of the handler.
void scUnregisterGeneratorEventHandler(scGeneratorEventHandler* handler);
// Tells each handler of the generator, in the order they were registered, then forgets the generator's
// entries; a second call tells nobody.
void scTellGeneratorRemoved(scParticleGenerator* generator);
// The generators the handler watches, each once, in map order.
std::vector<scParticleGenerator*> scGetGeneratorsWatchedBy(const scGeneratorEventHandler* handler);
