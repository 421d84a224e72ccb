#pragma once

class g3dPointLight;

// The cavern's headlight of a ride mode: each frame the train's shadow is projected from the light's side
// and a lamp lights the floor where the lead car's beam lands; both are taken off when the cavern does not
// ask for it, or when the ride ends.
class coHeadlightCaster {
  public:
    coHeadlightCaster() = default;
    coHeadlightCaster(const coHeadlightCaster&) = delete;
    coHeadlightCaster& operator=(const coHeadlightCaster&) = delete;

    // This frame's headlight, or none when the cavern asks for none; a ride without car objects casts no
    // train shadow but has the lamp.
    void Cast();
    void Stop();

  private:
    void AimLamp();

    bool m_cast = false;
    g3dPointLight* m_lamp = nullptr; // the light manager's, removed here
};
