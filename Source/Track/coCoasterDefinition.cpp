#include "Source/Track/coCoasterDefinition.h"

namespace {
const coCoasterDefinition g_defaults;
const coCoasterDefinition* g_current = &g_defaults;
} // namespace

const coCoasterDefinition& coGetCoasterDefinition() {
    return *g_current;
}

void coSetCoasterDefinition(const coCoasterDefinition* definition) {
    g_current = definition ? definition : &g_defaults;
}
