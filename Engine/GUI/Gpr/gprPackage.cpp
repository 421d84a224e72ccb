#include "Engine/GUI/Gpr/gprPackage.h"

#include "Engine/App/Ch/chPackage.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"
#include "Engine/GUI/Gpr/gprAssociatedControlParser.h"
#include "Engine/GUI/Gpr/gprButtonParser.h"
#include "Engine/GUI/Gpr/gprComboBoxParser.h"
#include "Engine/GUI/Gpr/gprContainerParser.h"
#include "Engine/GUI/Gpr/gprDialogParser.h"
#include "Engine/GUI/Gpr/gprEditFieldParser.h"
#include "Engine/GUI/Gpr/gprImageParser.h"
#include "Engine/GUI/Gpr/gprKeyPrototypeParser.h"
#include "Engine/GUI/Gpr/gprKeyboardLayoutParser.h"
#include "Engine/GUI/Gpr/gprKeyboardParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprListBoxParser.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"
#include "Engine/GUI/Gpr/gprScrollBoxParser.h"
#include "Engine/GUI/Gpr/gprSliderParser.h"
#include "Engine/GUI/Gpr/gprTextParser.h"
#include "Engine/GUI/Gpr/gprWidgetTargets.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiScrollingText.h"
#include "Engine/GUI/Gui/guiWindow.h"

#include <memory>

namespace {

envPackageCount g_count("gpr");
std::map<std::string, i32> g_stateNames;
std::unique_ptr<gfTextSet> g_textSet;

// The widget list puts every derived widget's parser before its base's.
void RegisterParsers() {
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprEditFieldFloatParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprEditFieldIntegerParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprEditFieldParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprComboBoxTextParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprComboBoxParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprFileBrowseDialogParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprDialogParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprCheckboxParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprButtonParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprRadioGroupParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprSliderCompositeParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprSliderParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprOrderedKeyboardParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprKeyboardSelectorParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprListBoxParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprScrollBoxParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprContainerParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprImageParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprScrollingTextParser>());
    gprParserUtil::RegisterWidgetParser(std::make_unique<gprTextParser>());
    gprParserUtil::RegisterAuxiliaryParser(std::make_unique<gprAssociatedControlDeltaFloatParser>());
    gprParserUtil::RegisterAuxiliaryParser(std::make_unique<gprAssociatedControlParser>());
    gprParserUtil::RegisterAuxiliaryParser(std::make_unique<gprKeyPrototypeToggleParser>());
    gprParserUtil::RegisterAuxiliaryParser(std::make_unique<gprKeyPrototypeSpecialParser>());
    gprParserUtil::RegisterAuxiliaryParser(std::make_unique<gprKeyPrototypeStandardParser>());
    gprParserUtil::RegisterAuxiliaryParser(std::make_unique<gprKeyTogglePropertiesParser>());
    gprParserUtil::RegisterAuxiliaryParser(std::make_unique<gprKeyboardLayoutGridParser>());
    gprParserUtil::RegisterAuxiliaryParser(std::make_unique<gprKeyboardLayoutParser>());
    gprSetWidgetMaker("Material", [] { return new guiMaterial; });
    gprSetWidgetMaker("Image", [] { return new guiImage; });
    gprSetWidgetMaker("Text", [] { return new guiText; });
    gprSetWidgetMaker("ScrollingText", [] { return new guiScrollingText; });
}

void FillStateNames() {
    g_stateNames.insert({{"Idle", guiStateIdle},
                         {"Over", guiStateOver},
                         {"Released", guiStateReleased},
                         {"Pressed", guiStatePressed},
                         {"Held", guiStateHeld},
                         {"Disabled", guiStateDisabled}});
}

} // namespace

void gprInit() {
    if (g_count.IsFirstStart()) {
        guiLogStartStep("env");
        envInit();
        guiLogStartStep("dbg");
        dbgInit();
        guiLogStartStep("ch");
        chInit();
        guiLogStartStep("keywords");
        gprFillKeywords();
        guiLogStartStep("parsers");
        RegisterParsers();
        guiLogStartStep("names");
        FillStateNames();
        guiLogStartStep("errors");
        gfErrorHandler::RegisterPackage(gprErrorPackage, "gprErrors.tsf");
    }
    g_count.CountUp();
}

void gprShutdown() {
    if (g_count.CountDown()) {
        guiLogStartStep("names");
        g_textSet.reset();
        g_stateNames.clear();
        guiLogStartStep("parsers");
        gprParserUtil::DeleteAllParsers();
        guiLogStartStep("keywords");
        gprClearKeywords();
        guiLogStartStep("ch");
        chShutdown();
        guiLogStartStep("dbg");
        dbgShutdown();
        guiLogStartStep("env");
        envShutdown();
    }
}

std::map<std::string, i32>& gprGetStateNames() {
    return g_stateNames;
}

void gprSetNamedValue(const char* name, i32 value) {
    g_stateNames[name] = value;
}

i32 gprGetNamedValue(const std::string& name) {
    const auto found = g_stateNames.find(name);
    return found == g_stateNames.end() ? -1 : found->second;
}

i32 gprStateNameToNumber(const std::string& name) {
    return gprGetNamedValue(name);
}

std::string gprStateNumberToName(i32 state) {
    for (const auto& [name, value] : g_stateNames)
        if (value == state)
            return name;
    return "Idle";
}

void gprPushTextSet(const fsLocator& file) {
    g_textSet.reset();
    g_textSet = std::make_unique<gfTextSet>(file, 32, true);
}

void gprPopTextSet() {
    g_textSet.reset();
}

const gfTextSet* gprGetTextSet() {
    return g_textSet.get();
}
