#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/GUI/Gui/guiScriptTargets.h"
#include "Engine/GUI/Gui/guiWindow.h"

#include <map>
#include <memory>
#include <optional>

class g3dDynamicModel;
class g3dFragment;
class g3dMaterial;
struct g3dTexelRect;
struct g3dTextureStage;

// The drawable window: one quad in the GUI render list whose look (a g3d material) changes with the
// interaction state, and which turns the pointer and the main button into Idle, Over, Pressed, Held
// and Released. A state without a material keeps the look shown before. The quad stays in the list
// for the widget's life: Draw only refreshes its matrix when the drawing order changed.
class guiMaterial : public guiWindow, public guiMaterialTarget {
  public:
    guiMaterial();
    ~guiMaterial() override;

    void SetState(i32 state) override;
    void UpdateVisibility() override;
    void Think() override;
    void Draw() override;
    void UpdateTransform() override;
    // Both change the state's material; it shows at the next ShowState of that state, or at once
    // when the quad shows nothing yet.
    void SetColor(const std::array<u8, 3>& rgb, i32 state) override;
    void SetTransparency(float alpha, i32 state) override;

    bool HasStateMaterial(i32 state) const override;
    // Whether the state's material has a texture stage; false without a material.
    bool HasTexture(i32 state) const override;
    // The operations on the state's texture stage 0 do nothing on a state without one; the getters then
    // give 0, (1, 1) or false.
    void SetTile(f32 u, f32 v, i32 state) override;
    void GetTile(f32& u, f32& v, i32 state) const override;
    virtual void GetTextureSize(i32& width, i32& height, i32 state) const;
    virtual void SetTextureOffset(const maVector2d& offset, i32 state);
    virtual maVector2d GetTextureOffset(i32 state) const;
    // Texels whose alpha / 255 is at most the threshold let the pointer through; the map belongs to the
    // (possibly shared) texture. A texture without alpha keeps none.
    void MakeTransparencyMap(f32 threshold, i32 state) override;
    virtual void FreeTransparencyMap(i32 state);
    virtual bool HasTransparencyMap(i32 state) const;
    // False outside the map.
    virtual bool IsTransparentAt(i32 x, i32 y, i32 state) const;

    void ShowState(i32 state);
    i32 GetShownState() const { return m_shown; }
    // Made white (diffuse and emissive 1) when missing.
    g3dMaterial& GetStateMaterial(i32 state);
    // Each byte of the emissive colour, truncated; 0 without a material.
    std::array<u8, 3> GetColor(i32 state) const override;
    // The emissive alpha; 0 without a material.
    f32 GetTransparency(i32 state) const override;
    // Every material and texture goes; the quad shows the default material.
    void ClearMaterials();
    // Every state's textures go, its colour and transparency stay.
    void ReleaseTextures();
    bool IsCaptured(i32 button) const;
    void ReleaseCapture(i32 button);
    // Whether the pointer hits the quad, through the shown state's transparency map; a widget never
    // sized keeps the unit scale, a quad as large as the screen, and is hit nowhere.
    bool IsPointerOver() const;

    // The render list entry and the quad's box in device coordinates, for the renderer's side.
    g3dDynamicModel* GetRenderEntry() const { return m_entry; }
    const maBoundingBox& GetScreenBox() const { return m_screenBox; }

  protected:
    // Null without a material or a stage.
    const g3dTextureStage* Stage0(i32 state) const;
    g3dMaterial* FindMaterial(i32 state) const;
    // Removes every stage of the material, giving each texture back to the GUI texture cache.
    static void ReleaseStages(g3dMaterial& material);

    // Shows the window's state, or the normal one, while the quad still shows the white default: a
    // widget that never thinks (inside a disabled container) would keep that default for good.
    void ShowFirstLook();
    // The render entry is shown while the window is visible and its look draws something.
    void ShowEntry();
    // Whether the quad's look draws nothing: a fully transparent material.
    virtual bool LooksEmpty() const;
    // Called before the quad turns to the state's look, so that a look made on demand can be made.
    virtual void PrepareState(i32 /*state*/) {}
    // The quad shrinks to show only these texels of the shown texture, with a margin the filter cannot
    // reach across; it covers the whole window without texels, or when the texture is shifted, repeated
    // or drawn near its edges. The window is hit over its whole size whatever the quad covers.
    void CoverTexels(const std::optional<g3dTexelRect>& texels);

  private:
    void CreateQuad();
    // The part of the window the quad covers, as shares of its width and height from its top left, with
    // the texture's coordinates cut alike.
    void SetQuadArea(f32 left, f32 top, f32 right, f32 bottom);

    std::map<i32, std::unique_ptr<g3dMaterial>> m_materials;
    i32 m_shown = guiStateNone;
    bool m_pressed = false;
    g3dFragment* m_fragment = nullptr;
    g3dDynamicModel* m_entry = nullptr;
    maBoundingBox m_screenBox;
};
