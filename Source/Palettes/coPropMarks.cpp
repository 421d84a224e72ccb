#include "Source/Palettes/coPropMarks.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"

#include <memory>
#include <string>

namespace {

// A mark: its number on a blue square.
constexpr i32 kMarkSize = 26;

} // namespace

coPropMarks::coPropMarks() {
    SetName("PropMarks");
    SetPosition({0.0f, 0.0f, kDepth});
    m_font = g2dFont::GetByTextId(1, 20);
}

coPropMarks::~coPropMarks() {
    DeleteAllChildren();
    g2dFont::Release(m_font);
}

void coPropMarks::SetMarks(const std::vector<std::pair<maVector2d, i32>>& marks) {
    while (m_marks.size() < marks.size()) {
        auto mark = std::make_unique<guiButton>();
        mark->SetSize(kMarkSize, kMarkSize);
        mark->GetImage()->SetSize(kMarkSize, kMarkSize);
        // In the objectives tab's blue, so that the mark reads as the panel's over any ground.
        mark->GetImage()->SetColor({60, 90, 170}, guiStateIdle);
        mark->GetImage()->SetTransparency(0.9f, guiStateIdle);
        guiText* text = mark->GetText();
        text->SetDefaultFont(m_font);
        text->SetDefaultColor({255, 252, 0});
        text->SetSize(kMarkSize, kMarkSize);
        text->SetTextureSize(kMarkSize, kMarkSize);
        text->SetPosition({0.0f, 0.0f, text->GetPosition().z});
        m_marks.push_back(AddChild(std::move(mark)));
    }
    for (size_t i = 0; i < m_marks.size(); ++i) {
        guiButton& mark = *m_marks[i];
        const bool shown = i < marks.size();
        mark.SetVisible(shown);
        if (!shown)
            continue;
        const auto& [at, number] = marks[i];
        const envString text(std::to_string(number).c_str());
        if (mark.GetText()->GetText(guiStateIdle) != text) {
            // Centred in the square by the width of its digits.
            u32 width = 0, height = 0;
            g2dFont::MeasureText(m_font, text, width, height);
            mark.GetText()->SetDefaultXOffset((kMarkSize - static_cast<i32>(width)) / 2);
            mark.GetText()->SetText(text, guiStateIdle);
        }
        mark.SetPosition({at.x - kMarkSize / 2.0f, at.y - kMarkSize / 2.0f, 0.0f});
        // Disabled, it takes no clicks from the world under it; drawn in its Idle look all the same.
        mark.SetEnabled(false);
        mark.SetState(guiStateIdle);
    }
}
