#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"

// A light of the scene, made and removed only through the light manager, which sends it to the device
// while it is on. Its colour is used as diffuse and specular.
class g3dLight {
  public:
    virtual ~g3dLight() = default;

    void SetEnabled(bool on = true) { m_on = on; }
    void SetColor(float r, float g, float b, float a) { m_color = {r, g, b, a}; }
    bool IsOn() const { return m_on; }
    const g3dARGBColor& GetColor() const { return m_color; }

  private:
    bool m_on = false;
    g3dARGBColor m_color{1.0f, 1.0f, 1.0f, 1.0f};
};

// A light at a point, fading as 1 / (a0 + a1 d + a2 d^2).
class g3dPointLight : public g3dLight {
  public:
    // The range that means "where the light falls to a hundredth".
    static constexpr float kDerivedRange = 1000000.0f;

    void SetPosition(const maVector3d& position) { m_position = position; }
    void SetConstantAttenuation(float a0) { m_attenuation[0] = a0; }
    void SetLinearAttenuation(float a1) { m_attenuation[1] = a1; }
    void SetQuadraticAttenuation(float a2) { m_attenuation[2] = a2; }
    void SetRange(float range) { m_range = range; }
    const maVector3d& GetPosition() const { return m_position; }
    float GetAttenuation(int order) const { return m_attenuation[order]; }
    float GetRange() const { return m_range; }

  private:
    maVector3d m_position;
    float m_attenuation[3] = {1.0f, 0.0f, 0.0f};
    float m_range = kDerivedRange;
};

// A light from far away, travelling along its direction.
class g3dDirectionalLight : public g3dLight {
  public:
    // Normalised; a zero vector is kept as given.
    void SetDirection(const maVector3d& direction) {
        const float length = direction.Length();
        m_direction = length > 0.0f ? direction / length : direction;
    }
    const maVector3d& GetDirection() const { return m_direction; }

  private:
    maVector3d m_direction{0.0f, -1.0f, 0.0f};
};
