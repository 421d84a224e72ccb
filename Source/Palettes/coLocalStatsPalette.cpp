#include "Source/Palettes/coLocalStatsPalette.h"

#include "Engine/GUI/Gui/guiText.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coUnits.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"

#include <cstdio>
#include <numbers>

namespace {

constexpr const char* kTextSet = "uils.tsf";
constexpr f32 kDegrees = 180.0f / std::numbers::pi_v<f32>;

} // namespace

coLocalStatsPalette::coLocalStatsPalette() {
    coLoadScreenScript("uisp/uils", nullptr, this);
    m_text = coFindWidget<guiText>(*this, "uisp/uils", "Local Stats", "Text");
    m_labels = coReadTexts(kTextSet);
}

coLocalStatsPalette::~coLocalStatsPalette() {
    DeleteAllChildren();
}

void coLocalStatsPalette::SetEnabled(bool enabled) {
    guiContainer::SetEnabled(enabled);
    envString text;
    for (u32 label : {0u, 1u}) {
        text.Append(coTextOrEmpty(m_labels, label, kTextSet));
        text.AppendChar(u'\n');
    }
    m_text->SetText(text, 0);
}

void coLocalStatsPalette::SetStats(const coCoasterPiece* piece) {
    envString text;
    auto add = [&](u32 label, f32 value) {
        text.Append(coTextOrEmpty(m_labels, label, kTextSet));
        char number[64];
        // A slope pitched back to level may be a hair below zero: it reads 0.00, not -0.00.
        std::snprintf(number, sizeof number, "%.2f\n", coDropNegativeZero(value, 2));
        text.Append(envString(number));
    };
    if (!piece) {
        for (u32 label : {0u, 1u, 2u}) {
            text.Append(coTextOrEmpty(m_labels, label, kTextSet));
            text.AppendChar(u'\n');
        }
        m_text->SetText(text, 0);
        return;
    }
    add(0, piece->GetBaseSlope() * kDegrees);
    add(1, piece->GetRoll(0) * kDegrees);
    add(2, coToDisplayLength(piece->GetLength()));
    // Straights and shallow turns add nothing. Radii, the S-turn's offset and the climb's length stay in
    // stored units.
    if (const auto* turn = dynamic_cast<const coCoasterPieceTurn*>(piece)) {
        add(3, turn->GetAngle() * kDegrees);
        add(4, turn->GetRadius());
    } else if (const auto* sTurn = dynamic_cast<const coCoasterPieceSTurn*>(piece)) {
        add(6, sTurn->GetSlide());
    } else if (const auto* loop = dynamic_cast<const coCoasterPieceLoop*>(piece)) {
        add(5, coToDisplayLength(loop->GetHeight()));
    } else if (const auto* cork = dynamic_cast<const coCoasterPieceCorkscrew*>(piece)) {
        add(4, cork->GetRadius());
    } else if (const auto* halfLoop = dynamic_cast<const coCoasterPieceHalfLoop*>(piece)) {
        add(3, halfLoop->GetRatio() * 180.0f);
        add(5, coToDisplayLength(halfLoop->GetHeight()));
    } else if (const auto* halfCork = dynamic_cast<const coCoasterPieceHalfCorkscrew*>(piece)) {
        add(3, halfCork->GetAngle() * kDegrees);
        add(4, coToDisplayLength(halfCork->GetRadius()));
    } else if (const auto* up = dynamic_cast<const coCoasterPieceUp*>(piece)) {
        add(4, up->GetRunLength());
    }
    m_text->SetText(text, 0);
}
