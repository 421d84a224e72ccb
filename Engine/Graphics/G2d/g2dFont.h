#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envString.h"

// A font as the font table hands it out: the rasterizer's handle of it; 0 is none. The table shares
// fonts by face and size among their users, so every window asking for the same face and size gets the
// same font; the fonts' device objects are made again after a device reset.
class g2dFont {
  public:
    constexpr g2dFont() = default;
    constexpr explicit g2dFont(u32 handle) : m_handle(handle) {}
    constexpr u32 GetHandle() const { return m_handle; }
    constexpr explicit operator bool() const { return m_handle != 0; }
    constexpr bool operator==(const g2dFont&) const = default;

    // The font of the face at the size (its cell height in pixels), made on first use, with one more
    // user. g2dUnknownFontX, the table unchanged, when no font can be made.
    static g2dFont Get(const envString& face, i32 size);
    // The same, the face being text textId of the font-name table; a new entry remembers the number.
    static g2dFont GetByTextId(u32 textId, i32 size);
    // One user less. A font released with no users left is deleted: one Get and one Release leave
    // the font in the table, a second Release deletes it. Unknown fonts are ignored.
    static void Release(g2dFont font);
    // The text's size in the font; empty text is 0 x 0.
    static void MeasureText(g2dFont font, const envString& text, u32& width, u32& height);
    // The face, size and text number (-1 when asked for by face) of the font; false when it is not in
    // the table.
    static bool GetInfo(g2dFont font, envString& face, i32& size, i32& textId);
    // Deletes every font and empties the table (display changes and shut-down).
    static void ReleaseAll();

  private:
    u32 m_handle = 0;
};

// Opens the font-name table (text set 32) that GetByTextId takes faces from; it stays open until
// the package stops.
void g2dLoadFontNameTable(const fsLocator& file);
// The font part of the package's start (its reset handler registered) and stop (every font deleted,
// the font-name table closed).
void g2dFontStartup();
void g2dFontShutdown();
