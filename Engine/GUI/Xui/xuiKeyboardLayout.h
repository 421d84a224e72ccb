#pragma once
#include "Engine/GUI/Xui/xuiKeyPrototype.h"

#include <vector>

// Layout directions; only left to right lays out keys, the others are stored as scripts give them.
enum xuiLayoutDirection : i32 {
    xuiLeftToRight = 0,
    xuiRightToLeft = 1,
    xuiTopToBottom = 2,
};

// One set of character keys: the prototype they share, the character set (".tsf", set 32) whose entries
// 0, 1, 2, ... are their captions in placement order, the rectangle they share and their direction.
class xuiKeyboardLayout {
  public:
    void SetKeyPrototype(const xuiKeyPrototypeStandard& prototype) { m_prototype = prototype; }
    const xuiKeyPrototypeStandard& GetKeyPrototype() const { return m_prototype; }
    void SetCharacterSetPath(const fsLocator& path) { m_characterSet = path; }
    void SetStandardLayoutSize(i32 width, i32 height);
    i32 GetStandardLayoutWidth() const { return m_width; }
    i32 GetStandardLayoutHeight() const { return m_height; }
    void SetLayoutDirection(i32 direction) { m_direction = direction; }
    i32 GetLayoutDirection() const { return m_direction; }

    // Both open the set afresh on every call. A set that cannot be read counts 0 entries and gives empty
    // captions, with one warning per layout, so a broken file costs its keys and nothing else.
    i32 GetCharacterCount() const;
    // Empty for an id the set does not hold.
    envString GetCharacter(i32 index) const;

  private:
    void Warn() const;

    xuiKeyPrototypeStandard m_prototype;
    fsLocator m_characterSet;
    i32 m_width = 0;
    i32 m_height = 0;
    i32 m_direction = xuiLeftToRight;
    mutable bool m_warned = false;
};

// One key the placement rule yields: its caption and its place inside the keyboard.
struct xuiPlacedKey {
    envString caption;
    maVector3d position;
};

// A layout placed in the keyboard: the top-left key's place (its z the depth of every key) and the
// number of columns.
class xuiKeyboardLayoutGrid {
  public:
    xuiKeyboardLayout& GetLayout() { return m_layout; }
    const xuiKeyboardLayout& GetLayout() const { return m_layout; }
    void SetOffsetPosition(f32 x, f32 y, f32 z) { m_offset = {x, y, z}; }
    maVector3d GetOffsetPosition() const { return m_offset; }
    void SetNumColumns(i32 columns) { m_columns = columns; }
    i32 GetNumColumns() const { return m_columns; }

    // Row by row from the top-left, each column the layout's width / columns and each row its height /
    // full rows wide, in whole pixels; keys past the last full row go on below it. Fewer than one column
    // gives no keys; fewer captions than columns make one row of the full height. Only left to right
    // places keys.
    std::vector<xuiPlacedKey> PlaceKeys() const;

  private:
    xuiKeyboardLayout m_layout;
    maVector3d m_offset;
    i32 m_columns = 0;
};
