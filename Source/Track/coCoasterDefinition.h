#pragma once

// The current coaster type's definition values as the track code reads them. The track geometry
// installs the loaded definition; until then (and in tests that install none) the defaults hold.
class coCoasterDefinition {
  public:
    virtual ~coCoasterDefinition() = default;

    // Whether pieces may be rolled past 54 degrees either way.
    virtual bool GetAllowInvertPieces() const { return true; }
};

const coCoasterDefinition& coGetCoasterDefinition();
// Not owned; null restores the defaults.
void coSetCoasterDefinition(const coCoasterDefinition* definition);
