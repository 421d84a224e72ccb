#include "Engine/GUI/Gpr/gprKeywords.h"

namespace {

chTagMap g_keywords;

u32 IdOf(const char* code) {
    return chMakeId(code[0], code[1], code[2], code[3]);
}

} // namespace

// Column by column: window, material, then the widget and keyboard keywords.
const std::array<gprKeywordEntry, 112> gprKeywordTable = {{
    {"Window", "WIND"},
    {"Id", "IDNM"},
    {"State", "STAT"},
    {"Position", "PSTN"},
    {"Orientation", "ORTN"},
    {"PivotPoint", "PVPT"},
    {"Scale", "SCLE"},
    {"Size", "SIZE"},
    {"Render", "RNDR"},
    {"Enable", "ENBL"},
    {"Justification", "JUST"},
    {"ToolTipText", "TTTX"},
    {"ToolTipNum", "TTNM"},
    {"Material", "MTRL"},
    {"Tile", "TILE"},
    {"MakeTransparencyMap", "MKTM"},
    {"Transparency", "TRAN"},
    {"Color", "COLR"},
    {"Image", "IMGE"},
    {"ImageState", "SIMG"},
    {"ScrollingText", "SCTX"},
    {"Text", "TEXT"},
    {"StaticText", "STXT"},
    {"StateColor", "SCLR"},
    {"StateFont", "SFNT"},
    {"StateFontNum", "SFTN"},
    {"DefaultColor", "DCLR"},
    {"DefaultFont", "DFNT"},
    {"DefaultFontNum", "DFTN"},
    {"DefaultXOffset", "DXOF"},
    {"TextureSize", "TXSZ"},
    {"WordWrap", "WWRP"},
    {"StaticTextNum", "STNM"},
    {"Container", "CNTR"},
    {"Button", "BTTN"},
    {"TextPositioning", "TXTP"},
    {"TextPercentage", "TPER"},
    {"ImagePercentage", "IPER"},
    {"Checkbox", "CHBX"},
    {"Checked", "CHKD"},
    {"RadioGroup", "RDGR"},
    {"Spacing", "SPAC"},
    {"AutoPositioning", "APOS"},
    {"AutoSizing", "ASIZ"},
    {"EditField", "EDFD"},
    {"Caret", "CART"},
    {"Background", "BKGD"},
    {"CaretOffset", "COFF"},
    {"CaretPosition", "CPOS"},
    {"Editable", "EDTB"},
    {"EditFieldFloat", "EDFF"},
    {"EditFieldInteger", "EDFI"},
    {"Slider", "SLDR"},
    {"Thumb", "THMB"},
    {"ThumbOffset", "TOFF"},
    {"BackgroundConstraint", "BCST"},
    {"ThumbPos", "TPOS"},
    {"Axis", "AXIS"},
    {"Dialog", "DLOG"},
    {"OkButton", "OKBN"},
    {"CancelButton", "CNBN"},
    {"FileBrowseDialog", "FBDG"},
    {"UpArrowButton", "UPBN"},
    {"SelectionDisplay", "SDSP"},
    {"FileSelector", "FSEL"},
    {"FileSelectorScrollBox", "FSCR"},
    {"ListBox", "LBOX"},
    {"Highlight", "HLGT"},
    {"RowHeight", "RWHT"},
    {"RowTemplate", "RTMP"},
    {"RowText", "RWTX"},
    {"RowTextNum", "RWTN"},
    {"ComboBox", "CMBX"},
    {"Results", "RSLT"},
    {"DropDown", "DPDN"},
    {"ScrollView", "SCVW"},
    {"ComboBoxText", "CMBT"},
    {"OrderedKeyboard", "OKYB"},
    {"KeyboardSelector", "KBSL"},
    {"KeyboardSelectorPair", "KBSP"},
    {"Previous", "PREV"},
    {"Next", "NEXT"},
    {"StandardLayoutSize", "SLSZ"},
    {"LayoutDirection", "LDIR"},
    {"CharacterSetPath", "CPTH"},
    {"LayoutGrid", "LAYG"},
    {"LayoutToggleVal", "LTGV"},
    {"NumColumns", "NCOL"},
    {"OffsetPosition", "OFPS"},
    {"ToggleOnce", "TGON"},
    {"KeyPrototypeStandard", "PRST"},
    {"EnableKey", "EKEY"},
    {"EnableKeyText", "EKYT"},
    {"KeySize", "KYSZ"},
    {"ShowText", "SHWT"},
    {"TextOffset", "TEXO"},
    {"TextColor", "TEXC"},
    {"TextFont", "TEXF"},
    {"TextFontNum", "TXFN"},
    {"KeyPrototypeSpecial", "PRSP"},
    {"KeyLabel", "KLBL"},
    {"KeyId", "KYID"},
    {"KeyPrototypeToggle", "PRTG"},
    {"ToggleVal", "TGVL"},
    {"AssociatedControl", "ACON"},
    {"ControlPosition", "CNPS"},
    {"AssociatedControlDeltaFloat", "ACDF"},
    {"DeltaValue", "DLTV"},
    {"SliderComposite", "SLDC"},
    {"Increase", "INCR"},
    {"Decrease", "DECR"},
    {"ScrollBox", "SCBX"},
}};

void gprFillKeywords() {
    for (const auto& [keyword, code] : gprKeywordTable)
        gprRegisterKeyword(keyword, IdOf(code));
}

void gprRegisterKeyword(const std::string& keyword, u32 id) {
    g_keywords[keyword] = id;
}

u32 gprLookUpKeyword(const std::string& keyword) {
    const auto found = g_keywords.find(keyword);
    return found == g_keywords.end() ? 0 : found->second;
}

std::string gprKeywordOfId(u32 id) {
    for (const auto& [keyword, value] : g_keywords)
        if (value == id)
            return keyword;
    return {};
}

const chTagMap& gprGetKeywords() {
    return g_keywords;
}

void gprClearKeywords() {
    g_keywords.clear();
}
