#include "Source/Palettes/coLocalStatsPalette.h"

#include "Engine/GUI/Gui/guiText.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPrefs.h"
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
// The unit words after the values: feet and metres.
constexpr u32 kFeetText = 7;
constexpr u32 kMetresText = 8;

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
    // Angles carry their unit in their labels; a length names the chosen unit or, kept as stored, metres.
    enum class Unit { InLabel, Chosen, Stored };
    auto add = [&](u32 label, f32 value, Unit unit) {
        text.Append(coTextOrEmpty(m_labels, label, kTextSet));
        char number[64];
        // A slope pitched back to level may be a hair below zero: it reads 0.00, not -0.00.
        std::snprintf(number, sizeof number, "%.2f", coDropNegativeZero(value, 2));
        text.Append(envString(number));
        if (unit != Unit::InLabel) {
            text.AppendChar(u' ');
            const bool metres = unit == Unit::Stored || coPrefs::GetBool(coPrefMetricUnits);
            text.Append(coTextOrEmpty(m_labels, metres ? kMetresText : kFeetText, kTextSet));
        }
        text.AppendChar(u'\n');
    };
    if (!piece) {
        for (u32 label : {0u, 1u, 2u}) {
            text.Append(coTextOrEmpty(m_labels, label, kTextSet));
            text.AppendChar(u'\n');
        }
        m_text->SetText(text, 0);
        return;
    }
    add(0, piece->GetBaseSlope() * kDegrees, Unit::InLabel);
    add(1, piece->GetRoll(0) * kDegrees, Unit::InLabel);
    add(2, coToDisplayLength(piece->GetLength()), Unit::Chosen);
    // Straights and shallow turns add nothing. Radii, the S-turn's offset and the climb's length stay in
    // stored units.
    if (const auto* turn = dynamic_cast<const coCoasterPieceTurn*>(piece)) {
        add(3, turn->GetAngle() * kDegrees, Unit::InLabel);
        add(4, turn->GetRadius(), Unit::Stored);
    } else if (const auto* sTurn = dynamic_cast<const coCoasterPieceSTurn*>(piece)) {
        add(6, sTurn->GetSlide(), Unit::Stored);
    } else if (const auto* loop = dynamic_cast<const coCoasterPieceLoop*>(piece)) {
        add(5, coToDisplayLength(loop->GetHeight()), Unit::Chosen);
    } else if (const auto* cork = dynamic_cast<const coCoasterPieceCorkscrew*>(piece)) {
        add(4, cork->GetRadius(), Unit::Stored);
    } else if (const auto* halfLoop = dynamic_cast<const coCoasterPieceHalfLoop*>(piece)) {
        add(3, halfLoop->GetRatio() * 180.0f, Unit::InLabel);
        add(5, coToDisplayLength(halfLoop->GetHeight()), Unit::Chosen);
    } else if (const auto* halfCork = dynamic_cast<const coCoasterPieceHalfCorkscrew*>(piece)) {
        add(3, halfCork->GetAngle() * kDegrees, Unit::InLabel);
        add(4, coToDisplayLength(halfCork->GetRadius()), Unit::Chosen);
    } else if (const auto* up = dynamic_cast<const coCoasterPieceUp*>(piece)) {
        add(4, up->GetRunLength(), Unit::Stored);
    }
    m_text->SetText(text, 0);
}
