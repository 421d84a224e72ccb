#include "Engine/App/Gf/gfErrorHandler.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Engine/Platform/plServices.h"

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

// Every text set the program opens carries this number.
constexpr u32 kTextSetNumber = 32;

// The box of each display type: Abort, Retry and Ignore; OK and Cancel; OK.
u32 BoxType(u32 type) {
    if (type == 0)
        return plMb::AbortRetryIgnore | plMb::IconError;
    if (type == gfDisplayQuestion)
        return plMb::OkCancel | plMb::IconQuestion;
    return plMb::Ok | plMb::IconError;
}

u32 Answer(i32 pressed) {
    switch (pressed) {
    case plId::Retry:
        return gfAnswerRetry;
    case plId::Ignore:
        return gfAnswerIgnore;
    case plId::Ok:
        return gfAnswerOK;
    case plId::Cancel:
        return gfAnswerCancel;
    default:
        return gfAnswerAbort;
    }
}

// Until the game shows its own: the message on stderr and in the platform's message box, when one is
// installed, so that a player who started the game from a desktop sees why it ends.
class gfDefaultErrorDisplayer : public gfErrorDisplayer {
  public:
    u32 Display(u32 type, const envString& message) override {
        envString shown = message;
        shown.TruncateAtNull();
        std::fprintf(stderr, "Error: %s\n", envStringToUtf8(shown).c_str());
        plMessageBox* box = plGetServices().messageBox;
        if (!box)
            return gfAnswerAbort;
        const std::u16string text(shown.GetData() ? shown.GetData() : u"", shown.GetLength());
        return Answer(box->Show(text, u"Error", BoxType(type)));
    }
};

gfDefaultErrorDisplayer g_defaultDisplayer;
gfErrorDisplayer* g_displayer = nullptr;
std::map<u32, envString> g_registry;
fsLocator g_directory;
bool g_lookingUp = false;

class LookupGuard {
  public:
    LookupGuard() { g_lookingUp = true; }
    ~LookupGuard() { g_lookingUp = false; }
};

envString Format(const char* format, u32 number, u32 package) {
    char text[160];
    std::snprintf(text, sizeof(text), format, number, package);
    return envString(text);
}

// A package's error texts: the set, or why there is none. A damaged set is named with what is wrong.
struct ErrorTexts {
    std::unique_ptr<gfTextSet> set;
    std::string damagedFile; // as the player finds it, when the set is damaged
    gfDamage damage = gfDamage::Malformed;
};

std::string DamagedFileName(const gfInvalidContentX& failure) {
    std::string path;
    fsLocatorToNativePath(failure.GetLocator(), path);
    std::string entry;
    if (failure.GetEntry().GetComponentCount() > 0 && fsJoinComponents(failure.GetEntry(), entry))
        return entry + " in " + path;
    return path;
}

ErrorTexts OpenErrorTexts(const envString& fileName) {
    // A nested report comes from inside this open (a retry question): opening again would recurse.
    // A package without a file name has nothing to open; the folder itself is not a text set.
    if (g_lookingUp || fileName.GetLength() == 0)
        return {};
    LookupGuard guard;
    fsLocator locator = g_directory;
    locator.AppendComponent(fileName);
    // A set that cannot be opened (missing, unreadable, or on a medium the user declined to put back)
    // gives the fallback message: the report must still reach the user. So does a damaged one, named.
    try {
        return {std::make_unique<gfTextSet>(locator, kTextSetNumber, true), {}, gfDamage::Malformed};
    } catch (const gfInvalidContentX& failure) {
        return {nullptr, DamagedFileName(failure), failure.GetDamage()};
    } catch (const fsDirectoryDoesntExistX&) {
    } catch (const fsFileDoesntExistX&) {
    } catch (const fsFileInUseX&) {
    } catch (const fsInvalidLocatorX&) {
    } catch (const fsReadOnlyX&) {
    } catch (const fsUnknownX&) {
    }
    return {};
}

// The message in place of one whose words are in a damaged set: the set's file and what is wrong with
// it, then the message by its number and what it is about.
envString DamagedTextsMessage(const ErrorTexts& texts, u32 package, u32 number, const char* extra) {
    DBG_WARNING("The error texts %s are damaged", texts.damagedFile.c_str());
    std::string message = "The game's words for this message cannot be read; reinstalling the game may "
                          "restore them.\n" +
                          texts.damagedFile + "\n" +
                          (texts.damage == gfDamage::CutShort ? "It is cut short." : "It is damaged.") +
                          "\nMessage " + std::to_string(number) + " of package " + std::to_string(package);
    std::string about = extra ? extra : "";
    // An extra that goes on the message's sentence (": (4-7)") stands alone here.
    if (about.starts_with(": "))
        about.erase(0, 2);
    message += about.empty() ? "." : ", about:\n" + about;
    return envStringFromUtf8(message.c_str());
}

} // namespace

namespace gfErrorHandler {

void Init(const fsLocator* directory) {
    g_registry.clear();
    if (directory)
        g_directory = *directory;
    g_displayer = &g_defaultDisplayer;
    envSetErrorReportHook(&ReportHook);
    RegisterPackage(1, "envErrors.tsf");
    RegisterPackage(2, "dbgErrors.tsf");
    RegisterPackage(3, "itErrors.tsf");
    RegisterPackage(4, "fsErrors.tsf");
    RegisterPackage(6, "inErrors.tsf");
    RegisterPackage(17, "MaErrors.tsf");
    RegisterPackage(18, "GeoErrors.tsf");
}

void Shutdown() {
    g_registry.clear();
}

void RegisterPackage(u32 package, const envString& fileName) {
    g_registry[package] = fileName;
}

const envString* GetPackageFile(u32 package) {
    const auto entry = g_registry.find(package);
    return entry == g_registry.end() ? nullptr : &entry->second;
}

void SetErrorFileDirectory(const fsLocator& directory) {
    g_directory = directory;
}
const fsLocator& GetErrorFileDirectory() {
    return g_directory;
}

void SetDisplayer(gfErrorDisplayer* displayer) {
    g_displayer = displayer;
}
gfErrorDisplayer* GetDefaultDisplayer() {
    return &g_defaultDisplayer;
}

envString GetMessage(u32 package, u32 number, const char* extra) {
    // Reporting for a package that never registered enters it with an empty name.
    const ErrorTexts texts = OpenErrorTexts(g_registry[package]);
    if (!texts.damagedFile.empty())
        return DamagedTextsMessage(texts, package, number, extra);
    if (!texts.set)
        return Format("ErrorCode #%u not found for package #%u because the .tsf file for it was not found",
                      number, package);
    if (!texts.set->HasText(number))
        return Format("ErrorCode #%u not found for package #%u, try getting the latest engine error codes.",
                      number, package);
    envString message = texts.set->GetText(number);
    if (extra)
        message.Append(envStringFromUtf8(extra));
    return message;
}

std::optional<envString> FindText(u32 package, u32 number) {
    const auto file = g_registry.find(package);
    if (file == g_registry.end())
        return std::nullopt;
    const ErrorTexts texts = OpenErrorTexts(file->second);
    if (!texts.set || !texts.set->HasText(number))
        return std::nullopt;
    return texts.set->GetText(number);
}

u32 Report(u32 type, u32 package, u32 number, const char* extra) {
    const envString message = GetMessage(package, number, extra);
    if (!g_displayer) {
        // The message is text, never a format.
        dbgWarning("gfErrorHandler", 130, "%s", envStringToUtf8(message).c_str());
        return gfAnswerAbort;
    }
    return g_displayer->Display(type, message);
}

u32 ReportHook(u32 type, u32 package, u32 number, const char* extra) {
    return Report(type, package, number, extra);
}

} // namespace gfErrorHandler
