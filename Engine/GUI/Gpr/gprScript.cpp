#include "Engine/GUI/Gpr/gprScript.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chTxtReader.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"

#include <set>

namespace {

fsLocator g_scriptDirectory;

std::string NativePath(const fsLocator& locator) {
    std::string path;
    fsLocatorToNativePath(locator, path);
    return path;
}

fsLocator ScriptFile(const fsLocator& directory, const envString& name, const char* extension) {
    fsLocator file = directory;
    envString component = name;
    component.Append(envString(extension));
    file.AppendComponent(component);
    return file;
}

// Says why the script's screen could not be made, from the exception being handled: a picture or pak
// entry it shows that cannot be read is named, not the script.
void WarnNotLoaded(const fsLocator& script) {
    try {
        throw;
    } catch (const g2dPictureFailure& picture) {
        if (picture.GetFile().GetComponentCount() > 0) {
            DBG_WARNING("The gui script %s shows a picture that cannot be read: %s",
                        NativePath(script).c_str(), g2dPictureFileName(picture).c_str());
            return;
        }
    } catch (const gfInvalidContentX& damaged) {
        if (damaged.GetEntry().GetComponentCount() > 0) {
            std::string entry;
            fsJoinComponents(damaged.GetEntry(), entry);
            DBG_WARNING("The gui script %s shows a file that cannot be read: %s in %s",
                        NativePath(script).c_str(), entry.c_str(), NativePath(damaged.GetLocator()).c_str());
            return;
        }
    } catch (...) {
    }
    DBG_WARNING("Could not load gui script %s", NativePath(script).c_str());
}

// The line of a text file that a position lies in, counted from 1.
u32 LineAt(gfFile& file, u32 position) {
    file.Seek(0, 0);
    u32 line = 1;
    for (u8 c = 0; file.Tell() < position && file.ReadAvailable(1, &c) == 1;)
        line += c == '\n' ? 1 : 0;
    return line;
}

// Puts a value back when the scope ends, however it ends.
template <class Restore> class ScopeGuard {
  public:
    explicit ScopeGuard(Restore restore) : m_restore(std::move(restore)) {}
    ~ScopeGuard() { m_restore(); }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;

  private:
    Restore m_restore;
};

// Compiles when the text form is newer; a failed compile leaves the binary form as it was.
void UpdateBinary(const fsLocator& text, const fsLocator& binary) {
    const bool hasBinary = fsFileExists(binary);
    if (hasBinary && fsGetFileTime(text) - fsGetFileTime(binary) <= gprParserUtil::kCompileAfterSeconds)
        return;
    if (hasBinary && fsIsFileReadOnly(binary)) {
        DBG_WARNING(
            "You appear to be modifying your text gui script file: %s, but your corresponding binary gui "
            "script file: %s is read only when it is required that it be writable! Please make it "
            "writable",
            NativePath(text).c_str(), NativePath(binary).c_str());
        throw fsReadOnlyX(binary);
    }
    u32 line = 0;
    try {
        gprParserUtil::CompileScript(text, binary, &line);
    } catch (const envExceptionX&) {
        DBG_WARNING("Could not compile gui script %s:%u; %s", NativePath(text).c_str(), line,
                    hasBinary ? "loading the old binary script" : "there is no binary script to load");
        if (!hasBinary)
            throw;
    }
}

} // namespace

void guiLoadScript(const fsLocator& directory, const envString& name, const fsLocator& textSet,
                   guiWindow* target) {
    gprPushTextSet(textSet);
    ScopeGuard pop([] { gprPopTextSet(); });
    gprParserUtil::LoadScript(directory, name, target);
}

namespace gprParserUtil {

void LoadScript(const fsLocator& directory, const envString& name, guiWindow* target) {
    fsLocator text = ScriptFile(directory, name, ".gst");
    fsLocator binary = ScriptFile(directory, name, ".gsf");
    fsLocator binaryOnDisc = binary;
    fsResolveRoot(text);
    fsResolveRoot(binaryOnDisc);
    if (fsFileExists(text))
        UpdateBinary(text, binaryOnDisc);

    const fsLocator previous = g_scriptDirectory;
    g_scriptDirectory = directory;
    ScopeGuard restore([&previous] { g_scriptDirectory = previous; });

    // A screen's own children (made by its constructor) stay when the load fails.
    auto* container = dynamic_cast<guiContainer*>(target);
    std::set<guiWindow*> own;
    for (i32 i = 0; container && i < container->GetChildCount(); ++i)
        own.insert(container->GetChild(i));
    try {
        gfFile file(binary, gfFileRead, gfByteOrderPlain);
        chBinReader reader(&file);
        LoadTop(reader, target);
    } catch (...) {
        WarnNotLoaded(binaryOnDisc);
        for (i32 i = container ? container->GetChildCount() - 1 : -1; i >= 0; --i)
            if (guiWindow* child = container->GetChild(i); !own.count(child))
                container->RemoveAndDeleteChild(child);
        throw;
    }
}

void CompileScript(const fsLocator& text, const fsLocator& binary, u32* errorLine) {
    gfFile in(text, gfFileRead, gfByteOrderPlain);
    chTxtReader reader(&in);
    const chTagMap keywords = gprGetKeywords();
    reader.SetTagMap(&keywords);
    gfWriteFileAtomically(binary, gfByteOrderPlain, [&](gfFile& out) {
        chBinWriter writer(&out);
        bool translated = false;
        try {
            translated = TranslateTop(reader, writer);
        } catch (const envExceptionX&) {
        }
        // A script cut short would compile into part of its screen.
        if (!translated || reader.HasUnclosedBody()) {
            if (errorLine)
                *errorLine = LineAt(in, in.Tell());
            throw chInvalidChunkX();
        }
    });
}

void SaveScript(const fsLocator& binary, guiWindow* window) {
    gfWriteFileAtomically(binary, gfByteOrderPlain, [&](gfFile& out) {
        chBinWriter writer(&out);
        SaveChild(0, writer, window);
    });
}

void SetScriptDirectory(const fsLocator& directory) {
    g_scriptDirectory = directory;
}

const fsLocator& GetScriptDirectory() {
    return g_scriptDirectory;
}

void ResolveScriptPath(const std::string& name, fsLocator& out) {
    out = g_scriptDirectory;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        const std::string piece = name.substr(start, end - start);
        const bool last = end == name.size();
        if (piece == ".." && !last) {
            if (out.GetComponentCount() > 0)
                out.RemoveLastComponent();
        } else if (!piece.empty()) {
            out.AppendComponent(envString(piece.c_str()));
        }
        start = end + 1;
    }
}

std::string MakeScriptRelativeName(const fsLocator& file) {
    if (file.GetComponentCount() == 0)
        return {};
    const fsLocator& directory = g_scriptDirectory;
    const u32 folders = file.GetComponentCount() - 1;
    u32 common = 0;
    while (common < folders && common < directory.GetComponentCount() &&
           directory.GetComponent(common) == file.GetComponent(common))
        ++common;
    std::string name;
    for (u32 i = common; i < directory.GetComponentCount(); ++i)
        name += "..\\";
    for (u32 i = common; i < folders; ++i)
        name += envStringToNarrow(file.GetComponent(i)) + "\\";
    return name + envStringToNarrow(file.GetLastComponent());
}

} // namespace gprParserUtil
