#include "Engine/GUI/Gpr/gprKeyboardParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprImageParser.h"
#include "Engine/GUI/Gpr/gprKeyPrototypeParser.h"
#include "Engine/GUI/Gpr/gprKeyboardLayoutParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"
#include "Engine/GUI/Xui/xuiKeyboardSelector.h"
#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"

#include <memory>

gprOrderedKeyboardParser::gprOrderedKeyboardParser() {
    s_orderedKeyboard = gprLookUpKeyword("OrderedKeyboard");
    s_layoutGrid = gprLookUpKeyword("LayoutGrid");
    s_special = gprLookUpKeyword("KeyPrototypeSpecial");
    s_toggle = gprLookUpKeyword("KeyPrototypeToggle");
}

void gprOrderedKeyboardParser::Load(chReader& reader, guiWindow* window) {
    auto& keyboard = dynamic_cast<xuiOrderedKeyboard&>(*window);
    gprContainerParser::Load(reader, window);
    keyboard.BuildLayout(0);
}

bool gprOrderedKeyboardParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    auto& keyboard = dynamic_cast<xuiOrderedKeyboard&>(*parent);
    if (id == s_layoutGrid) {
        gprKeyboardLayoutGridParser grid;
        grid.Load(reader, parent);
    } else if (id == s_special) {
        gprKeyPrototypeSpecialParser special;
        special.Load(reader, parent);
        keyboard.AddSpecialKey(static_cast<const xuiKeyPrototypeSpecial&>(*special.GetTarget()));
    } else if (id == s_toggle) {
        gprKeyPrototypeToggleParser toggle;
        toggle.Load(reader, parent);
        keyboard.AddToggleKey(static_cast<const xuiKeyPrototypeToggle&>(*toggle.GetTarget()));
    } else {
        return gprContainerParser::LoadChild(id, version, size, reader, parent);
    }
    return true;
}

bool gprOrderedKeyboardParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader,
                                              chWriter& writer) {
    if (id == s_layoutGrid) {
        gprKeyboardLayoutGridParser grid;
        TranslateObject(grid, id, version, reader, writer);
    } else if (id == s_special) {
        gprKeyPrototypeSpecialParser special;
        TranslateObject(special, id, version, reader, writer);
    } else if (id == s_toggle) {
        gprKeyPrototypeToggleParser toggle;
        TranslateObject(toggle, id, version, reader, writer);
    } else {
        return gprContainerParser::TranslateChild(id, version, size, reader, writer);
    }
    return true;
}

bool gprOrderedKeyboardParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<xuiOrderedKeyboard*>(window) != nullptr;
}

guiWindow* gprOrderedKeyboardParser::CreateWidget() const {
    return new xuiOrderedKeyboard;
}

gprKeyboardSelectorParser::gprKeyboardSelectorParser() {
    s_keyboardSelector = gprLookUpKeyword("KeyboardSelector");
    s_previous = gprLookUpKeyword("Previous");
    s_next = gprLookUpKeyword("Next");
    s_pair = gprLookUpKeyword("KeyboardSelectorPair");
    s_orderedKeyboard = gprLookUpKeyword("OrderedKeyboard");
    s_image = gprLookUpKeyword("Image");
}

bool gprKeyboardSelectorParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader,
                                          guiWindow* parent) {
    if (id == s_previous || id == s_next) {
        gprImageParser image;
        LoadNamedChild(image, id, id == s_previous ? "Previous" : "Next", reader, parent);
    } else if (id == s_pair) {
        LoadPair(reader, parent);
    } else {
        return gprContainerParser::LoadChild(id, version, size, reader, parent);
    }
    return true;
}

void gprKeyboardSelectorParser::LoadPair(chReader& reader, guiWindow* parent) {
    auto& selector = dynamic_cast<xuiKeyboardSelector&>(*parent);
    std::unique_ptr<guiWindow> keyboard, image;
    bool malformed = false;
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == s_orderedKeyboard && !keyboard) {
            gprOrderedKeyboardParser parser;
            keyboard.reset(parser.CreateWidget());
            parser.Load(reader, keyboard.get());
        } else if (id == s_image && !image) {
            gprImageParser parser;
            image.reset(parser.CreateWidget());
            if (image)
                parser.Load(reader, image.get());
        } else {
            malformed = true;
        }
        reader.EndChunk();
    }
    if (malformed || !keyboard || !image) {
        DBG_WARNING("A \"KeyboardSelectorPair\" of \"%s\" does not hold one \"OrderedKeyboard\" and one "
                    "\"Image\"; nothing is added",
                    selector.GetName().c_str());
        return;
    }
    selector.AddKeyboard(keyboard.release(), image.release());
}

bool gprKeyboardSelectorParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader,
                                               chWriter& writer) {
    if (id == s_previous || id == s_next) {
        gprImageParser image;
        TranslateObject(image, id, version, reader, writer);
    } else if (id == s_pair) {
        writer.BeginChunk(id, version, true);
        TranslatePair(reader, writer);
    } else {
        return gprContainerParser::TranslateChild(id, version, size, reader, writer);
    }
    return true;
}

void gprKeyboardSelectorParser::TranslatePair(chReader& reader, chWriter& writer) {
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        // Kept, empty, so that the loader sees the pair as the author wrote it and refuses it.
        if (!gprParserUtil::TranslateChild(id, version, size, reader, writer))
            writer.BeginChunk(id, version, false);
        reader.EndChunk();
        writer.EndChunk();
    }
}

bool gprKeyboardSelectorParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<xuiKeyboardSelector*>(window) != nullptr;
}

guiWindow* gprKeyboardSelectorParser::CreateWidget() const {
    return new xuiKeyboardSelector;
}
