#pragma once
#include "Engine/App/Fs/fsLocator.h"

class g3dCamera;
class snSoundJob;

// A file exists in its root's folders (a rooted locator) or on disc.
bool coSoundFileExists(const fsLocator& file);

// A sound of the modes made from a file: loaded, looped by the count, given volume and category and
// started at the time. A file that cannot be read is skipped with a warning naming it: null then.
enum class coModeSoundKind { Plain, Streamed, Mp3 };
snSoundJob* coStartModeSound(coModeSoundKind kind, const fsLocator& file, const char* name, i32 loop,
                             float volume, u32 category, float time);

// The listener placed and turned as the camera sees.
void coSetListenerFromCamera(const g3dCamera& camera);

// The environment's looping ambient sound of the ride modes, ducked inside tube-decorated pieces.
class coRideAmbientSound {
  public:
    coRideAmbientSound() = default;
    coRideAmbientSound(const coRideAmbientSound&) = delete;
    coRideAmbientSound& operator=(const coRideAmbientSound&) = delete;
    ~coRideAmbientSound() { Destroy(); }

    // "Ambient.wav" of the current environment's "Sound" folder, unless ambient sound is off.
    static fsLocator GetFile();
    void Start(float time);
    bool IsStarted() const { return m_job != nullptr; }
    float GetVolume() const { return m_volume; }
    // Fades over 0.2 s, from now, to 0.4 inside a tube and to 1.0 elsewhere.
    void Follow(bool inTube, float time);
    void Pause();
    void Resume(float time);
    void Stop();
    void Destroy();

  private:
    snSoundJob* m_job = nullptr;
    float m_volume = 0.8f;
    float m_lastTime = 0.0f;
};
