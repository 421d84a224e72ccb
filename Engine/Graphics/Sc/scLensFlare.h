#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"

#include <memory>
#include <vector>

class envString;
class g3dCamera;
class g3dDynamicModel;
class g3dFragment;
class g3dTexture;
class g3dTextureLoader;
class scLensFlare;

// Decides each frame whether a flare's source can be seen; the default sees every source.
class scLFVisCompute {
  public:
    virtual ~scLFVisCompute() = default;
    virtual void SetCamera(g3dCamera* /*camera*/) {}
    virtual bool IsVisible(const scLensFlare& /*flare*/) { return true; }
};

// One sprite of a flare: a screen quad of pre-transformed vertices drawn with its own material, in a
// render list of its own choosing, as a sorted model so that a texture with alpha blends. Its texture comes
// from the flare package's texture loader.
class scLensFlareElement {
  public:
    explicit scLensFlareElement(u32 renderList);
    ~scLensFlareElement();
    scLensFlareElement(const scLensFlareElement&) = delete;
    scLensFlareElement& operator=(const scLensFlareElement&) = delete;

    // Gives the current texture back, then takes the named one from the loader as the only stage.
    // Without a loader, or when the loader throws, the element is left untextured.
    void SetTexture(const envString& name);
    // Gives the texture back to the current loader, which must be the one that made it.
    void ReleaseTexture();
    void SetShown(bool shown);
    bool IsShown() const;

    // 0 on the source, 1 on the point opposite it through the screen centre.
    void SetAxisPosition(f32 t) { m_axisPosition = t; }
    f32 GetAxisPosition() const { return m_axisPosition; }
    // A multiple of the flare's size scale.
    void SetSize(f32 size) { m_size = size; }
    f32 GetSize() const { return m_size; }
    g3dMaterial& GetMaterial() { return m_material; }
    g3dTexture* GetTexture() const { return m_texture; }
    const g3dFragment* GetFragment() const { return m_fragment; }

    // Centres a square of the size on the pixel and rewrites the quad with the material's colour.
    void Place(i32 x, i32 y, i32 size);

  private:
    void RebuildQuad();

    f32 m_centreX = 320.0f;
    f32 m_centreY = 240.0f;
    f32 m_axisPosition = 0.0f;
    f32 m_size = 1.0f;
    g3dTexture* m_texture = nullptr;
    i32 m_width = 32;
    i32 m_height = 32;
    g3dMaterial m_material;
    g3dFragment* m_fragment = nullptr;
    g3dDynamicModel* m_model = nullptr;
};

// A row of elements laid each frame along the line from the source's screen point through the centre.
class scLensFlare {
  public:
    scLensFlare() = default;
    scLensFlare(const scLensFlare&) = delete;
    scLensFlare& operator=(const scLensFlare&) = delete;

    void AddElement(std::unique_ptr<scLensFlareElement> element);
    void ShowElements(bool shown);
    const std::vector<std::unique_ptr<scLensFlareElement>>& GetElements() const { return m_elements; }

    void SetSourcePosition(const maVector3d& position) { m_sourcePosition = position; }
    const maVector3d& GetSourcePosition() const { return m_sourcePosition; }
    // Element sizes are this fraction of the screen width times their own size.
    void SetSizeScale(f32 scale) { m_sizeScale = scale; }
    // No element is wider than this fraction of the screen width.
    void SetMaximumSize(f32 size) { m_maximumSize = size; }
    void SetEnabled(bool enabled) { SetFlag(kEnabled, enabled); }
    bool IsEnabled() const { return (m_flags & kEnabled) != 0; }
    // Written each frame from the visibility test.
    void SetVisible(bool visible) { SetFlag(kVisible, visible); }
    bool IsVisible() const { return (m_flags & kVisible) != 0; }

    // Places the elements for the renderer's current view and projection on a screen of the size, or
    // hides them when the source is behind the eye, off the screen or not visible.
    void Update(i32 screenWidth, i32 screenHeight);

  private:
    static constexpr u8 kVisible = 1;
    static constexpr u8 kEnabled = 2;
    void SetFlag(u8 flag, bool on) { m_flags = static_cast<u8>(on ? m_flags | flag : m_flags & ~flag); }

    f32 m_sizeScale = 1.0f;
    f32 m_maximumSize = 0.75f;
    std::vector<std::unique_ptr<scLensFlareElement>> m_elements;
    maVector3d m_sourcePosition{0, 0, 0};
    u8 m_flags = kVisible | kEnabled;
};

// The flare package: the flares, the visibility test and the element texture loader, all owned.
void scLensFlarePackageStart();
// Deletes the flares (their textures go back to the loader), the test and the loader.
void scLensFlarePackageStop();
void scSetLFVisCompute(std::unique_ptr<scLFVisCompute> test);
scLFVisCompute* scLFGetVisCompute();
// The flares' elements give their textures back to the loader going before it is deleted.
void scSetLensFlareTextureLoader(std::unique_ptr<g3dTextureLoader> loader);
g3dTextureLoader* scGetLensFlareTextureLoader();
void scAddLensFlare(std::unique_ptr<scLensFlare> flare);
const std::vector<std::unique_ptr<scLensFlare>>& scGetLensFlares();
void scDeleteAllLensFlares();
// Asks the test about every flare in turn and updates it on the current screen.
void scUpdateLensFlares();
