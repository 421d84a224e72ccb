#pragma once
#include "../Gui/guiWidgetFixture.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"

#include <map>
#include <string>

// Widgets on the fakes with a one-pixel key picture ("key.png") and character sets written by the text
// set writer, one caption a letter.
class xuiKeyboardTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        folder.Write("key.png", g2dImageBuilder::Png(1, 8, 6, {std::string("\x80\x80\x80\xFF", 4)}));
    }
    fsLocator CharacterSet(const std::string& name, const std::string& letters) {
        std::map<u32, envString> texts;
        for (size_t i = 0; i < letters.size(); ++i)
            texts[static_cast<u32>(i)] = envString(letters.substr(i, 1).c_str());
        gfWriteTextSet(folder.Locator(name), 32, texts);
        return folder.Locator(name);
    }
    // A 30 x 30 key with the picture in states 0 up to `states`.
    template <class P = xuiKeyPrototypeStandard> P Key(i32 states = 6) {
        P prototype;
        prototype.SetKeySize(30, 30);
        for (i32 state = 0; state < states; ++state)
            prototype.SetImage(state, folder.Locator("key.png"));
        return prototype;
    }
    // The letters in rows of 13 keys 30 pixels apart from (0, 100).
    xuiKeyboardLayoutGrid Grid(const std::string& setName, const std::string& letters) {
        xuiKeyboardLayoutGrid grid;
        grid.GetLayout().SetKeyPrototype(Key());
        grid.GetLayout().SetCharacterSetPath(CharacterSet(setName, letters));
        grid.GetLayout().SetStandardLayoutSize(390,
                                               30 * std::max<i32>(1, static_cast<i32>(letters.size()) / 13));
        grid.SetOffsetPosition(0.0f, 100.0f, 0.5f);
        grid.SetNumColumns(13);
        return grid;
    }
    // The middle of character key i of a Grid.
    void ClickCharacter(i32 i) {
        Click(30.0f * static_cast<float>(i % 13) + 15.0f, 115.0f + 30.0f * static_cast<float>(i / 13));
    }
};
