#include "Engine/GUI/Gui/guiText.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envBreakLine.h"
#include "Engine/GUI/Gui/guiTextureCache.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dTexture.h"

#include <algorithm>
#include <string>

namespace {

constexpr i32 kLargestTexture = 4096;
constexpr char16_t kLineBreak = 10;

// Gives every list of the record, and its fields, the same length; wrapped fields of another length
// are dropped.
void Fit(guiTextRecord& record, size_t count) {
    count = std::max<size_t>(count, 1);
    if (record.fields.size() != count)
        record.wrapped.clear();
    record.fonts.resize(count);
    record.fields.resize(count);
    record.offsets.resize(count, 0);
    record.colours.resize(count, g3dTextColour{0, 0, 0});
}

// Cuts the record's lists to their first entry, no longer following the defaults; true when that
// changed the record.
bool CutToOne(guiTextRecord& record) {
    const bool cut = record.fields.size() != 1;
    Fit(record, 1);
    record.fontsFollow = record.offsetsFollow = record.coloursFollow = false;
    return cut;
}

g2dFont Resolve(g2dFont font) {
    return font ? font : g2dScreen::GetDefaultFont();
}

std::u16string Units(const envString& text) {
    return text.GetLength() ? std::u16string(text.GetData(), text.GetLength()) : std::u16string();
}

envString ToString(const std::u16string& units) {
    return envString(units.c_str());
}

i32 Measure(g2dFont font, const std::u16string& units) {
    u32 width = 0, height = 0;
    g2dFont::MeasureText(Resolve(font), ToString(units), width, height);
    return static_cast<i32>(width);
}

// Breaks one line (no line breaks in it) into rows narrower than the available width; returns the rows
// joined by line breaks.
std::u16string WrapSegment(std::u16string_view line, g2dFont font, i32 available) {
    const auto fits = [&](std::u16string_view row) { return Measure(font, std::u16string(row)) < available; };
    std::u16string out;
    for (std::u16string_view row : envBreakLine(line, fits)) {
        if (!out.empty())
            out += kLineBreak;
        out += row;
    }
    return out;
}

} // namespace

guiText::guiText() {
    Fit(m_defaults, 1);
}

const guiTextRecord* guiText::FindRecord(i32 state) const {
    const auto found = m_records.find(state);
    return found == m_records.end() ? nullptr : &found->second;
}

guiTextRecord& guiText::Record(i32 state) {
    const auto found = m_records.find(state);
    if (found != m_records.end())
        return found->second;
    guiTextRecord& record = m_records[state];
    record.fonts = m_defaults.fonts;
    record.offsets = m_defaults.offsets;
    record.colours = m_defaults.colours;
    Fit(record, record.fonts.size());
    return record;
}

void guiText::UpdateVisibility() {
    const bool was = IsEffectivelyVisible();
    guiMaterial::UpdateVisibility();
    const bool now = IsEffectivelyVisible();
    if (was == now)
        return;
    if (!now) {
        // The textures go; each state's colour and transparency stay, so that a tinted text (a table
        // row that cannot be used) keeps its tint when it shows again.
        ReleaseTextures();
        m_undrawn.clear();
        return;
    }
    for (const auto& [state, record] : m_records)
        Render(state);
    if (GetShownState() != guiStateNone)
        return;
    if (GetState() != guiStateNone && FindRecord(GetState()))
        ShowState(GetState());
    else if (!m_records.empty())
        ShowState(m_records.begin()->first);
}

bool guiText::HasStateMaterial(i32 state) const {
    return FindRecord(state) != nullptr;
}

bool guiText::HasTexture(i32 state) const {
    return FindRecord(state) != nullptr;
}

void guiText::SetTile(f32 u, f32 v, i32 state) {
    const auto found = m_records.find(state);
    if (found == m_records.end())
        return;
    found->second.tile = {u, v};
    Render(state);
}

void guiText::GetTile(f32& u, f32& v, i32 state) const {
    const guiTextRecord* record = FindRecord(state);
    u = record ? record->tile.x : 1.0f;
    v = record ? record->tile.y : 1.0f;
}

void guiText::GetTextureSize(i32& width, i32& height, i32) const {
    GetTextureSize(width, height);
}

void guiText::GetTextureSize(i32& width, i32& height) const {
    width = m_textureWidth;
    height = m_textureHeight;
}

void guiText::SetWordWrap(i32 flag) {
    m_wordWrap = flag;
    for (auto& [state, record] : m_records) {
        if (flag == 0)
            record.wrapped.clear();
        else
            Layout(state);
        Render(state);
    }
}

void guiText::RenderSingleText(g2dFont font, const envString& text, const g3dTextColour& colour, i32 width,
                               i32 height, i32 state) {
    RenderTexture({font}, {text}, {0}, {colour}, width, height, state);
}

void guiText::RenderTexture(const std::vector<g2dFont>& fonts, const std::vector<envString>& texts,
                            const std::vector<i32>& offsets, const std::vector<g3dTextColour>& colours,
                            i32 width, i32 height, i32 state) {
    std::vector<g2dFont> resolved(fonts.size());
    std::transform(fonts.begin(), fonts.end(), resolved.begin(), Resolve);
    g3dMaterial& material = GetStateMaterial(state);
    g3dTexture* old = material.GetStageCount() > 0 ? material.GetStage(0).texture : nullptr;
    if (old && old->GetWidth() == width && old->GetHeight() == height) {
        g3dTextureManager::DrawTextRuns(static_cast<g3dPlainTexture*>(old), resolved, texts, offsets,
                                        colours);
        return;
    }
    if (old) {
        material.RemoveTextureStage(0);
        guiTextureCache::Release(old);
    }
    material.AddTextureStage(
        g3dTextureManager::CreateTextTextureRuns(resolved, texts, offsets, colours, width, height), 0);
}

void guiText::ApplyTile(i32 state) {
    const guiTextRecord* record = FindRecord(state);
    g3dMaterial* material = FindMaterial(state);
    if (record && material && material->GetStageCount() > 0)
        material->SetStageScale(record->tile, 0);
}

void guiText::Layout(i32 state) {
    if (m_wordWrap == 0)
        return;
    guiTextRecord& record = Record(state);
    const size_t count = record.fields.size();
    std::vector<envString> wrapped(count);
    bool broken = false;
    for (size_t i = 0; i < count; ++i) {
        const envString& field = record.fields[i];
        const i32 right = i + 1 < count ? record.offsets[i + 1] : m_textureWidth;
        const i32 available = right - record.offsets[i];
        // Without room there is nothing to fit the field to: it stays as it is.
        if (field.GetLength() == 0 || available <= 0) {
            wrapped[i] = field;
            continue;
        }
        const std::u16string units = Units(field);
        std::u16string result;
        size_t start = 0;
        while (true) {
            const size_t end = std::min(units.find(kLineBreak, start), units.size());
            result += WrapSegment(units.substr(start, end - start), record.fonts[i], available);
            if (end == units.size())
                break;
            result += kLineBreak;
            start = end + 1;
        }
        broken = broken || result != units;
        wrapped[i] = ToString(result);
    }
    if (broken)
        record.wrapped = std::move(wrapped);
    else
        record.wrapped.clear();
}

void guiText::Render(i32 state) {
    if (!IsEffectivelyVisible())
        return;
    if (m_stateInUseOnly && state != GetState() && state != GetShownState()) {
        m_undrawn.insert(state);
        return;
    }
    DrawTexture(state);
    ShowFirstLook();
    ShowEntry();
}

void guiText::Draw() {
    guiMaterial::Draw();
    CoverInk();
}

void guiText::CoverInk() {
    const g3dTextureStage* stage = Stage0(GetShownState());
    const auto* texture = stage ? dynamic_cast<const g3dPlainTexture*>(stage->texture) : nullptr;
    CoverTexels(texture ? texture->GetInk() : std::nullopt);
}

void guiText::DrawTexture(i32 state) {
    m_undrawn.erase(state);
    const guiTextRecord& record = Record(state);
    const std::vector<envString>& texts = record.wrapped.empty() ? record.fields : record.wrapped;
    RenderTexture(record.fonts, texts, record.offsets, record.colours, m_textureWidth, m_textureHeight,
                  state);
    ApplyTile(state);
    // The quad follows the new ink at once: a screen that draws without updating its windows (a test
    // ride) would otherwise show the new text through the old text's area.
    if (state == GetShownState())
        CoverInk();
}

void guiText::PrepareState(i32 state) {
    if (m_undrawn.contains(state) && IsEffectivelyVisible())
        DrawTexture(state);
}

bool guiText::LooksEmpty() const {
    const guiTextRecord* record = FindRecord(GetShownState());
    return !record || std::all_of(record->fields.begin(), record->fields.end(), [](const envString& field) {
        return field.GetLength() == 0;
    }) || guiMaterial::LooksEmpty();
}

void guiText::LayoutAndRender(i32 state) {
    Layout(state);
    Render(state);
}

void guiText::SetText(const envString& text, i32 state) {
    guiTextRecord& record = Record(state);
    if (record.fields.size() == 1 && text.GetLength() != 0 && record.fields[0] == text)
        return;
    for (envString& field : record.fields)
        field.Clear();
    record.fields[0] = text;
    LayoutAndRender(state);
}

void guiText::SetTextLines(const std::vector<envString>& lines, i32 state) {
    guiTextRecord& record = Record(state);
    std::vector<envString> fields = lines;
    fields.resize(record.fonts.size());
    if (fields == record.fields)
        return;
    record.fields = std::move(fields);
    LayoutAndRender(state);
}

void guiText::SetTextColor(const g3dTextColour& rgb, i32 state) {
    guiTextRecord& record = Record(state);
    const bool cut = CutToOne(record);
    const bool changed = cut || record.colours[0] != rgb;
    record.colours[0] = rgb;
    if (changed)
        LayoutAndRender(state);
}

void guiText::SetFont(g2dFont font, i32 state) {
    guiTextRecord& record = Record(state);
    const bool cut = CutToOne(record);
    const bool changed = cut || record.fonts[0] != font;
    record.fonts[0] = font;
    if (changed)
        LayoutAndRender(state);
}

void guiText::SetXOffset(i32 offset, i32 state) {
    guiTextRecord& record = Record(state);
    const bool cut = CutToOne(record);
    const bool changed = cut || record.offsets[0] != offset;
    record.offsets[0] = offset;
    if (changed)
        LayoutAndRender(state);
}

void guiText::SetStateStyle(const std::vector<g3dTextColour>& colours, const std::vector<g2dFont>& fonts,
                            const std::vector<i32>& offsets, i32 state) {
    guiTextRecord& record = Record(state);
    guiTextRecord style;
    style.colours = colours;
    style.fonts = fonts;
    style.offsets = offsets;
    Fit(style, offsets.size());
    const bool changed = style.colours != record.colours || style.fonts != record.fonts ||
                         style.offsets != record.offsets || record.fontsFollow || record.offsetsFollow ||
                         record.coloursFollow;
    record.colours = style.colours;
    record.fonts = style.fonts;
    record.offsets = style.offsets;
    record.fontsFollow = record.offsetsFollow = record.coloursFollow = false;
    Fit(record, style.offsets.size());
    if (changed)
        LayoutAndRender(state);
}

void guiText::UseDefaultColours(i32 state) {
    guiTextRecord& record = Record(state);
    std::vector<g3dTextColour> colours = m_defaults.colours;
    colours.resize(record.colours.size(), g3dTextColour{0, 0, 0});
    const bool changed = colours != record.colours;
    record.colours = colours;
    record.coloursFollow = true;
    if (changed)
        Render(state);
}

void guiText::SetDefaultColor(const g3dTextColour& rgb) {
    if (m_defaults.colours.size() == 1 && m_defaults.colours[0] == rgb)
        return;
    Fit(m_defaults, 1);
    m_defaults.colours[0] = rgb;
    for (auto& [state, record] : m_records)
        if (record.coloursFollow) {
            record.colours[0] = rgb;
            Render(state);
        }
}

void guiText::SetDefaultFont(g2dFont font) {
    if (m_defaults.fonts.size() == 1 && m_defaults.fonts[0] == font)
        return;
    Fit(m_defaults, 1);
    m_defaults.fonts[0] = font;
    for (auto& [state, record] : m_records)
        if (record.fontsFollow) {
            record.fonts[0] = font;
            LayoutAndRender(state);
        }
}

void guiText::SetDefaultXOffset(i32 offset) {
    if (m_defaults.offsets.size() == 1 && m_defaults.offsets[0] == offset)
        return;
    Fit(m_defaults, 1);
    m_defaults.offsets[0] = offset;
    for (auto& [state, record] : m_records)
        if (record.offsetsFollow) {
            record.offsets[0] = offset;
            LayoutAndRender(state);
        }
}

void guiText::SetDefaultStyle(const std::vector<g3dTextColour>& colours, const std::vector<g2dFont>& fonts,
                              const std::vector<i32>& offsets) {
    guiTextRecord style;
    style.colours = colours;
    style.fonts = fonts;
    style.offsets = offsets;
    Fit(style, colours.size());
    const bool resized = style.colours.size() != m_defaults.colours.size();
    const bool coloursChanged = resized || style.colours != m_defaults.colours;
    const bool fontsChanged = resized || style.fonts != m_defaults.fonts;
    const bool offsetsChanged = resized || style.offsets != m_defaults.offsets;
    if (!coloursChanged && !fontsChanged && !offsetsChanged)
        return;
    m_defaults = style;
    for (auto& [state, record] : m_records) {
        const bool touched = (coloursChanged && record.coloursFollow) ||
                             (fontsChanged && record.fontsFollow) || (offsetsChanged && record.offsetsFollow);
        if (!touched)
            continue;
        if (record.coloursFollow)
            record.colours = style.colours;
        if (record.fontsFollow)
            record.fonts = style.fonts;
        if (record.offsetsFollow)
            record.offsets = style.offsets;
        // Lists that keep their own entries are padded or cut to the new length with the fields.
        Fit(record, style.colours.size());
        LayoutAndRender(state);
    }
}

void guiText::SetTextureSize(i32 width, i32 height) {
    if (width < 1 || height < 1 || width > kLargestTexture || height > kLargestTexture) {
        DBG_WARNING("Text w/ ID: %s: texture size %d x %d refused; it stays %d x %d", GetName().c_str(),
                    width, height, m_textureWidth, m_textureHeight);
        return;
    }
    if (width == m_textureWidth && height == m_textureHeight)
        return;
    m_textureWidth = width;
    m_textureHeight = height;
    for (const auto& [state, record] : m_records)
        LayoutAndRender(state);
}

envString guiText::GetText(i32 state) const {
    const guiTextRecord* record = FindRecord(state);
    return record ? record->fields[0] : envString();
}

g3dTextColour guiText::GetTextColor(i32 state) const {
    const guiTextRecord* record = FindRecord(state);
    return record ? record->colours[0] : g3dTextColour{0, 0, 0};
}

g2dFont guiText::GetFont(i32 state) const {
    const guiTextRecord* record = FindRecord(state);
    return record ? record->fonts[0] : g2dFont();
}

i32 guiText::GetXOffset(i32 state) const {
    const guiTextRecord* record = FindRecord(state);
    return record ? record->offsets[0] : 0;
}
