#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gui/guiMaterial.h"
#include "Engine/GUI/Gui/guiScriptTargets.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"

#include <map>
#include <set>
#include <vector>

// The texts of one state: fields side by side, field i drawn in font i and colour i from x offset i.
// The three style lists and the fields always have one length, at least 1. A list that follows the
// defaults takes the widget's default changes.
struct guiTextRecord {
    std::vector<g2dFont> fonts;
    bool fontsFollow = true;
    std::vector<envString> fields;
    // The fields with the word wrap's line breaks; empty when nothing needed one.
    std::vector<envString> wrapped;
    std::vector<i32> offsets;
    bool offsetsFollow = true;
    std::vector<g3dTextColour> colours;
    bool coloursFollow = true;
    maVector2d tile{1.0f, 1.0f};
};

// The material widget whose states show text drawn into a texture of a fixed size, which the quad
// stretches over the window. Only a visible widget holds textures: hiding releases them all (the states'
// tints stay) and showing draws every state again. Every setter compares first, so an unchanged text
// costs no drawing. A null font measures and draws with the screen's default font. Fonts handed in stay
// in the font table, which the 2D package empties when it stops.
class guiText : public guiMaterial, public guiTextTarget {
  public:
    guiText();

    void UpdateVisibility() override;
    // The quad covers only what the shown text drew into, with room for the filter: the rest of the
    // texture is clear and would be blended for nothing.
    void Draw() override;
    // A state has a material, and a texture, once it has a text record.
    bool HasStateMaterial(i32 state) const override;
    bool HasTexture(i32 state) const override;
    void SetTile(f32 u, f32 v, i32 state) override;
    void GetTile(f32& u, f32& v, i32 state) const override;
    // The text texture size, whatever the state.
    void GetTextureSize(i32& width, i32& height, i32 state) const override;
    void GetTextureSize(i32& width, i32& height) const override;

    void SetWordWrap(i32 flag) override;
    // One text in one font and colour from the texture's left edge.
    virtual void RenderSingleText(g2dFont font, const envString& text, const g3dTextColour& colour, i32 width,
                                  i32 height, i32 state);
    // Draws again into the state's texture when it has this size, else replaces it.
    virtual void RenderTexture(const std::vector<g2dFont>& fonts, const std::vector<envString>& texts,
                               const std::vector<i32>& offsets, const std::vector<g3dTextColour>& colours,
                               i32 width, i32 height, i32 state);

    // Field 0 = the text, the others emptied; nothing when the only field already holds this non-empty
    // text.
    void SetText(const envString& text, i32 state) override;
    // Cut or padded to the record's number of fields.
    void SetTextLines(const std::vector<envString>& lines, i32 state);
    // These three cut the state's lists to one entry, which no longer follows the defaults.
    void SetTextColor(const g3dTextColour& rgb, i32 state) override;
    void SetFont(g2dFont font, i32 state) override;
    void SetXOffset(i32 offset, i32 state);
    // The number of offsets (at least 1) sets the number of fields; shorter lists are padded with null
    // fonts, black and offset 0.
    void SetStateStyle(const std::vector<g3dTextColour>& colours, const std::vector<g2dFont>& fonts,
                       const std::vector<i32>& offsets, i32 state);
    void UseDefaultColours(i32 state);
    void SetDefaultColor(const g3dTextColour& rgb) override;
    void SetDefaultFont(g2dFont font) override;
    void SetDefaultXOffset(i32 offset) override;
    // The number of colours (at least 1) sets the length of the defaults.
    void SetDefaultStyle(const std::vector<g3dTextColour>& colours, const std::vector<g2dFont>& fonts,
                         const std::vector<i32>& offsets);
    // Sizes outside 1 to 4096 are refused with a warning.
    void SetTextureSize(i32 width, i32 height) override;
    // For texts that show one of several states at a time and are made by the hundred (table cells):
    // only the state in use is drawn, another one when the text turns to it.
    void SetDrawStateInUseOnly(bool only) { m_stateInUseOnly = only; }

    // Entry 0 of a state's lists; empty, black, null and 0 for a state without texts.
    envString GetText(i32 state) const override;
    g3dTextColour GetTextColor(i32 state) const override;
    g2dFont GetFont(i32 state) const override;
    i32 GetXOffset(i32 state) const;
    g3dTextColour GetDefaultColor() const override { return m_defaults.colours[0]; }
    g2dFont GetDefaultFont() const override { return m_defaults.fonts[0]; }
    i32 GetDefaultXOffset() const override { return m_defaults.offsets[0]; }
    i32 GetWordWrap() const override { return m_wordWrap; }
    // Null for a state without texts.
    const guiTextRecord* FindRecord(i32 state) const;

  protected:
    // A text with no characters in its shown state draws nothing, not the white default quad.
    bool LooksEmpty() const override;
    // The state's tile onto its texture stage, after a drawing.
    void ApplyTile(i32 state);
    // Draws a state left undrawn while it was not in use.
    void PrepareState(i32 state) override;

  private:
    guiTextRecord& Record(i32 state);
    void Layout(i32 state);
    void Render(i32 state);
    void DrawTexture(i32 state);
    // Fits the quad to what the shown state's texture drew into.
    void CoverInk();
    void LayoutAndRender(i32 state);

    std::map<i32, guiTextRecord> m_records;
    // Only the style lists are used.
    guiTextRecord m_defaults;
    i32 m_textureWidth = 256;
    i32 m_textureHeight = 128;
    i32 m_wordWrap = 0;
    bool m_stateInUseOnly = false;
    // With m_stateInUseOnly: the states whose texture does not show their record yet.
    std::set<i32> m_undrawn;
};
