#pragma once

// The preferences the track code reads, by index. The settings install their own; until then every bool
// is false and every float 1.0.
class coTrackPrefs {
  public:
    virtual ~coTrackPrefs() = default;
    virtual bool GetBool(int /*index*/) const { return false; }
    virtual float GetFloat(int /*index*/) const { return 1.0f; }
};

// Bool 41: prop collision checks stay off. Float 5: the factor of the detail distance thresholds.
inline constexpr int coPrefDisablePropCollisions = 41;
inline constexpr int coPrefDetailDistance = 5;

const coTrackPrefs& coGetTrackPrefs();
// Not owned; null restores the defaults.
void coSetTrackPrefs(const coTrackPrefs* prefs);
