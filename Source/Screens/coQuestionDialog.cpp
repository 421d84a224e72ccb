#include "Source/Screens/coQuestionDialog.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyCode.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envBreakLine.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Screens/coQuestionTexts.h"
#include "Source/Screens/coScreenScript.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr const char* kScript = "uiqd";
constexpr const char* kTexts = "uimc.tsf";

// Answers of the error-display interface.
constexpr u32 kAnswerAbort = 0;
constexpr u32 kAnswerRetry = 1;
constexpr u32 kAnswerIgnore = 2;
constexpr u32 kAnswerOk = 3;
constexpr u32 kAnswerCancel = 4;

// A question is answered with the pointer: it shows as the arrow while the question is up (over a ride
// that hid it, over a wait pointer a menu left), and as it was afterwards.
class ArrowWhileAsking {
  public:
    ArrowWhileAsking() {
        guiCursorMgr::SetVisible(true);
        guiCursorMgr::SetShape(coPointerArrow);
    }
    ~ArrowWhileAsking() {
        if (m_cursor && m_shape >= 0)
            m_cursor->SetShape(m_shape);
        guiCursorMgr::SetVisible(m_shown);
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

  private:
    guiCursor* m_cursor = guiCursorMgr::GetCursor();
    i32 m_shape = m_cursor ? m_cursor->GetShape() : -1;
    bool m_shown = guiCursorMgr::IsVisible();
};

std::unique_ptr<guiImage> MakeMedal(i32 medal) {
    const char* files[] = {"uicmbrbi.png", "uicmslbi.png", "uicmgdbi.png"};
    auto image = std::make_unique<guiImage>();
    fsLocator file = coScreenScriptFolder("uicm");
    file.AppendComponent(files[medal - 2]);
    image->SetImage(file, 0);
    image->SetSize(256, 128);
    image->SetState(0);
    image->SetPosition({47.0f, 45.0f, 0.0f});
    image->SetTransparency(0.6f, 0);
    image->SetEnabled(false);
    return image;
}

// Measures rows of text in one font against the width that the text wraps to.
class RowFitter {
  public:
    RowFitter(g2dFont font, i32 width) : m_font(font), m_width(width) {}
    bool Fits(std::u16string_view row) const {
        u32 width = 0, height = 0;
        g2dFont::MeasureText(m_font, envString(std::u16string(row).c_str()), width, height);
        return static_cast<i32>(width) < m_width;
    }
    size_t Rows(std::u16string_view line) const {
        return envBreakLine(line, [this](std::u16string_view row) { return Fits(row); }).size();
    }
    // The line with its path (from the word holding its first '/') cut in its middle to one row: its
    // start, "...", and its end, which keeps the last name whole. The words before the path stay.
    std::u16string Shorten(std::u16string_view line) const {
        const size_t slash = line.find(u'/');
        const size_t space = line.rfind(u' ', slash);
        const size_t start = space == std::u16string_view::npos ? 0 : space + 1;
        const std::u16string_view path = line.substr(start);
        const size_t name = path.find_last_of(u'/');
        std::u16string head(path.substr(0, name));
        const std::u16string tail(path.substr(name));
        while (!head.empty() && !Fits(head + u"..." + tail))
            head.pop_back();
        return std::u16string(line.substr(0, start)) + head + u"..." + tail;
    }

  private:
    g2dFont m_font;
    i32 m_width;
};

std::vector<std::u16string> SplitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(u'\n', start)) != std::u16string_view::npos; start = end + 1)
        lines.emplace_back(text.substr(start, end - start));
    lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace

envString coFitToRows(const envString& text, g2dFont font, i32 width, size_t rows) {
    const RowFitter fitter(font, width);
    std::vector<std::u16string> lines =
        SplitLines(std::u16string_view(text.GetData() ? text.GetData() : u"", text.GetLength()));
    const auto total = [&] {
        size_t count = 0;
        for (const std::u16string& line : lines)
            count += fitter.Rows(line);
        return count;
    };
    // The longest paths first: each cut to one row until the whole text has room.
    std::vector<size_t> paths;
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(u'/') != std::u16string::npos && fitter.Rows(lines[i]) > 1)
            paths.push_back(i);
    std::stable_sort(paths.begin(), paths.end(),
                     [&](size_t a, size_t b) { return fitter.Rows(lines[a]) > fitter.Rows(lines[b]); });
    for (size_t i = 0; i < paths.size() && total() > rows; ++i)
        lines[paths[i]] = fitter.Shorten(lines[paths[i]]);
    std::u16string fitted = lines.front();
    for (size_t i = 1; i < lines.size(); ++i)
        fitted += u'\n' + lines[i];
    return envString(fitted.c_str());
}

coQuestionDialog::coQuestionDialog() : coQuestionDialog(0, false) {}

coQuestionDialog::coQuestionDialog(i32 medal) : coQuestionDialog(medal, true) {}

coQuestionDialog::coQuestionDialog(i32 medal, bool medalQuestion) {
    coLoadScreenScript(kScript, kTexts, this);
    m_texts = coReadTexts(kTexts);
    m_primary = coFindWidget<guiText>(*this, kScript, "PrimaryText", "Text");
    if (medal >= 2 && medal <= 4)
        AddChild(MakeMedal(medal));
    // Two runs of the text's own style: the question, wrapped to the text's whole width so that a long
    // path takes few lines, and what a caller adds after it, from the right edge.
    const g3dTextColour colour = m_primary->GetDefaultColor();
    const g2dFont font = m_primary->GetDefaultFont();
    i32 width = 0, height = 0;
    m_primary->GetTextureSize(width, height);
    m_primary->SetDefaultStyle({colour, colour}, {font, font}, {1, width});
    m_menu = dynamic_cast<guiButton*>(FindChild("Menu"));
    if (GetOk())
        m_okLeft = GetOk()->GetPosition().x;
    if (medalQuestion)
        coShowWidget(m_menu, true);
    SetVisible(false);
    SetEnabled(false);
}

void coQuestionDialog::SetPrimaryText(const envString& text) {
    // A text longer than the box has room for keeps every line: its paths are cut in their middle.
    i32 width = 0, height = 0;
    m_primary->GetTextureSize(width, height);
    u32 letterWidth = 0, rowHeight = 0;
    const g2dFont font = m_primary->GetDefaultFont();
    g2dFont::MeasureText(font, envString("gt"), letterWidth, rowHeight);
    const size_t rows = rowHeight > 0 ? static_cast<size_t>(height) / rowHeight : 1;
    // The question is wrapped from its offset of 1 to the right edge.
    m_primary->SetText(coFitToRows(text, font, width - 1, rows), 0);
}

void coQuestionDialog::SetPrimaryTextNum(u32 number) {
    SetPrimaryText(coTextOrEmpty(m_texts, number, kTexts));
}

void coQuestionDialog::SetPrimaryTextNum(u32 number, const envString& name) {
    const envString text = coTextOrEmpty(m_texts, number, kTexts);
    const std::u16string_view units(text.GetData() ? text.GetData() : u"", text.GetLength());
    const size_t at = units.find(u"%s");
    if (at == std::u16string_view::npos) {
        SetPrimaryText(text);
        return;
    }
    // Spliced in once, as it is written: a name is never read as a format.
    std::u16string question(units.substr(0, at));
    question.append(name.GetData() ? name.GetData() : u"", name.GetLength());
    question.append(units.substr(at + 2));
    SetPrimaryText(envString(question.c_str()));
}

void coQuestionDialog::SetOkTextNum(u32 number) {
    SetLabel(GetOk(), number);
}

void coQuestionDialog::SetCancelTextNum(u32 number) {
    SetLabel(GetCancel(), number);
}

void coQuestionDialog::SetLabel(guiButton* button, u32 number) {
    if (button && button->GetText())
        button->GetText()->SetText(coTextOrEmpty(m_texts, number, kTexts), 0);
    coFitCaption(button);
}

void coQuestionDialog::Think() {
    guiContainer::Think();
    if (m_menu && m_menu->GetState() == guiStateReleased) {
        m_menuChosen = true;
        m_menuEndedRun = true;
        EndDialog(false);
        return;
    }
    // A box that only tells something closes on Escape as the others do, with its one answer.
    const inKeyboard* keys =
        inDeviceManager::GetKeyboardCount() > 0 ? inDeviceManager::GetKeyboard(0) : nullptr;
    if (keys && keys->WasKeyReleased(inKeyEscape) && IsOkAlone())
        EndDialog(true);
}

i32 coQuestionDialog::DoModal() {
    PlaceOk();
    const coDialogDimmer::Scope dimmer(this);
    const ArrowWhileAsking pointer;
    m_menuEndedRun = false;
    return guiDialog::DoModal();
}

bool coQuestionDialog::IsOkAlone() const {
    const auto shown = [](const guiWindow* button) { return button && button->IsVisible(); };
    return !shown(GetCancel()) && !shown(m_menu);
}

void coQuestionDialog::PlaceOk() {
    guiButton* ok = GetOk();
    if (!ok)
        return;
    i32 width = 0, height = 0, okWidth = 0, okHeight = 0;
    GetSize(width, height);
    ok->GetSize(okWidth, okHeight);
    const maVector3d at = ok->GetPosition();
    ok->SetPosition({IsOkAlone() ? static_cast<f32>((width - okWidth) / 2) : m_okLeft, at.y, at.z});
}

u32 coQuestionDialog::Display(u32 type, const envString& message) {
    coShowWidget(GetCancel(), false);
    coShowWidget(m_menu, false);
    if (type == 0) {
        coShowWidget(GetCancel(), true);
        coShowWidget(m_menu, true);
        SetOkTextNum(coLabelAbort);
        SetCancelTextNum(coLabelRetry);
        SetLabel(m_menu, coLabelIgnore);
    } else if (type == 1) {
        coShowWidget(GetCancel(), true);
        SetOkTextNum(coLabelOk);
        SetCancelTextNum(coLabelCancel);
    } else {
        SetOkTextNum(coLabelOk);
    }
    // The message is data, never a format: a path may hold '%'.
    const std::u16string_view units(message.GetData() ? message.GetData() : u"", message.GetLength());
    DBG_WARNING("%s", envUtf16ToUtf8(units).c_str());
    SetPrimaryText(message);
    const i32 result = DoModal();
    if (type == 0) {
        if (m_menuEndedRun)
            return kAnswerIgnore;
        return result == 1 ? kAnswerAbort : kAnswerRetry;
    }
    if (type == 1)
        return result == 1 ? kAnswerOk : kAnswerCancel;
    return kAnswerOk;
}
