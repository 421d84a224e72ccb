#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Env/envTypes.h"

// The one empty text the package hands out for answers without text; it lives to the end of the
// program.
const envString& gnfEmptyString();

// A list of items with texts, one of which may be selected; screens read a list's choice through it
// alone.
class gnfSelection {
  public:
    virtual ~gnfSelection() = default;
    // -1 when nothing is selected.
    virtual i32 GetSelection() const { return -1; }
    virtual void Select(i32) {}
    // The empty text for an index that names no item.
    virtual const envString& GetItemText(i32) const { return gnfEmptyString(); }
    virtual i32 GetItemCount() const = 0;
};
