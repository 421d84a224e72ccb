#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/An/anTypedAnimation.h"

#include <memory>
#include <vector>

class g3dTexture;
class scEmitter;

// One particle effect as a ".tpr" file describes it: the generator kind and emitter shape, three display
// modes, the alpha curve over a particle's life, the kind's parameters and the particles' texture. Any
// number of generators are made from one template.
class scParticleGeneratorTemplate {
  public:
    scParticleGeneratorTemplate() = default;
    scParticleGeneratorTemplate(const scParticleGeneratorTemplate&) = delete;
    scParticleGeneratorTemplate& operator=(const scParticleGeneratorTemplate&) = delete;
    // Gives the template's share of the texture back.
    ~scParticleGeneratorTemplate();

    // 0 point, 1 block, 2 circle; a new emitter owned by the caller, null for any other type.
    std::unique_ptr<scEmitter> CreateEmitter() const;

    // Keeps a copy of the curve in place of the current one.
    void SetAnimation(const anTypedAnimation<float>& curve);
    // Null when the template never received a curve.
    const anTypedAnimation<float>* GetAnimation() const { return m_curve.get(); }

    int GetParameterCount() const { return static_cast<int>(m_parameters.size()); }
    float GetParameter(int i) const { return m_parameters[static_cast<size_t>(i)]; }
    // An index outside the list is ignored: the reader sizes the list first.
    void SetParameter(float value, int i) {
        if (i >= 0 && i < GetParameterCount())
            m_parameters[static_cast<size_t>(i)] = value;
    }
    void SetParameters(std::vector<float> parameters) { m_parameters = std::move(parameters); }

    // Loads the texture named by the texture file: a flip-book when the last component contains ".tuv",
    // else a plain texture. An empty locator or a missing file throws fsFileDoesntExistX and keeps the
    // texture held.
    g3dTexture* LoadTexture();
    g3dTexture* GetTexture() const { return m_texture.get(); }
    // Generators draw with the texture and may fade out after the template is gone: they hold a share,
    // and the texture goes back to the texture manager with the last one.
    const std::shared_ptr<g3dTexture>& ShareTexture() const { return m_texture; }

    i32 generatorType = 0; // 0 static, 1 cone, 2 spiral
    i32 emitterType = 0;   // 0 point, 1 block, 2 circle
    // Full edge lengths of a block emitter; x is a circle emitter's radius.
    maVector3d emitterSize{1.0f, 1.0f, 1.0f};
    i32 lightingMode = 1; // 1 lit by the scene's lights, other values self-lit
    i32 frameMode = 0;    // 1 a random fixed frame per particle, other values the frame follows the age
    i32 growthMode = 1;   // 0 linear, other values exponential
    // Callers may put the file under their own texture folder before LoadTexture.
    fsLocator textureFile;

  private:
    std::vector<float> m_parameters;
    std::unique_ptr<anTypedAnimation<float>> m_curve;
    std::shared_ptr<g3dTexture> m_texture;
};

// Reads a ".tpr" file into the template; what the file does not mention keeps its value. The file is
// read whole before anything is stored, so a damaged file (chInvalidChunkX, gfInvalidFileBinX, the file
// system's exceptions) leaves the template as it was.
void scLoadParticleGeneratorTemplate(const fsLocator& file, scParticleGeneratorTemplate& out);
