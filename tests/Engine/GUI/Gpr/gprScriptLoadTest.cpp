#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "gprTestScripts.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <typeinfo>

namespace {

const std::string kFromBinary = gprChunk("CNTR", gprChunk("IDNM", gprString("fromBinary")));
const char* kFromText = "Container { Id \"fromText\" }";

class gprScriptLoadTest : public gprTestScripts {
  protected:
    // Sets the file's last-write time to `seconds` past a fixed moment.
    void SetTime(const std::string& name, i64 seconds) {
        const timespec times[2] = {{1700000000 + seconds, 0}, {1700000000 + seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, folder.Path(name).c_str(), times, 0), 0);
    }
    // Loads script "s" into a new screen and returns the screen's name.
    std::string LoadName() {
        guiContainer screen;
        gprParserUtil::LoadScript(folder.Locator(), u"s", &screen);
        return screen.GetName();
    }
};

std::string ReadSample(const std::string& name) {
    std::ifstream in(std::string(LV_GPR_SAMPLES) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST_F(gprScriptLoadTest, CompilesOnlyANewerTextForm) {
    const struct {
        i64 textNewerBy;
        const char* loaded;
    } cases[] = {{3, "fromBinary"}, {4, "fromText"}, {-100, "fromBinary"}, {0, "fromBinary"}};
    for (const auto& c : cases) {
        folder.Write("s.gst", kFromText);
        folder.Write("s.gsf", kFromBinary);
        SetTime("s.gsf", 0);
        SetTime("s.gst", c.textNewerBy);
        EXPECT_EQ(LoadName(), c.loaded) << c.textNewerBy;
        if (c.loaded == std::string("fromBinary")) {
            EXPECT_EQ(folder.Read("s.gsf"), kFromBinary) << c.textNewerBy;
        }
    }
    std::filesystem::remove(folder.Path("s.gsf"));
    EXPECT_EQ(LoadName(), "fromText");
    EXPECT_EQ(folder.Read("s.gsf"), Compile(kFromText));
    std::filesystem::remove(folder.Path("s.gst"));
    EXPECT_EQ(LoadName(), "fromText");
    std::filesystem::remove(folder.Path("s.gsf"));
    EXPECT_THROW(LoadName(), fsFileDoesntExistX);
}

TEST_F(gprScriptLoadTest, FailedCompileKeepsTheBinaryForm) {
    folder.Write("s.gst", kFromText);
    folder.Write("s.gsf", kFromBinary);
    SetTime("s.gst", 10);
    SetTime("s.gsf", 0);
    chmod(folder.Path("s.gsf").c_str(), 0444);
    EXPECT_THROW(LoadName(), fsReadOnlyX);
    EXPECT_TRUE(log.Holds("is read only when it is required that it be writable! Please make it writable"));
    EXPECT_EQ(folder.Read("s.gsf"), kFromBinary);

    chmod(folder.Path("s.gsf").c_str(), 0644);
    folder.Write("s.gst", "Container {\n Id \"broken\"\n Size 1\n}");
    SetTime("s.gst", 10);
    EXPECT_EQ(LoadName(), "fromBinary");
    EXPECT_TRUE(log.Holds(folder.Path("s.gst") + ":3; loading the old binary script"));
    EXPECT_EQ(folder.Read("s.gsf"), kFromBinary);
    // Cut short: the screen's body is never closed, so it would compile into part of the screen.
    folder.Write("s.gst", "Container {\n Id \"cut\"\n Text { Id \"a\" }\n");
    SetTime("s.gst", 10);
    EXPECT_EQ(LoadName(), "fromBinary");
    EXPECT_EQ(folder.Read("s.gsf"), kFromBinary);

    std::filesystem::remove(folder.Path("s.gsf"));
    EXPECT_THROW(LoadName(), chInvalidChunkX);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("s.gsf")));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("s.gsf.tmp")));
}

TEST_F(gprScriptLoadTest, FailedLoadPutsEverythingBack) {
    gfWriteTextSet(folder.Locator("t.tsf"), 32, {{3, u"Tip three"}});
    folder.Write("s.gsf", Compile("Container { ToolTipNum 3 Text { Id \"a\" } Image { Id \"b\" } }"));
    guiContainer screen;
    guiLoadScript(folder.Locator(), u"s", folder.Locator("t.tsf"), &screen);
    EXPECT_EQ(screen.GetToolTipText(), envString("Tip three"));
    EXPECT_EQ(screen.GetChildCount(), 2);
    EXPECT_EQ(gprGetTextSet(), nullptr);

    // A good child, then one that runs past the end of the file.
    const std::string good = gprChunk("TEXT", gprChunk("IDNM", gprString("new")));
    std::string bad = gprChunk("CNTR", good + gprChunk("IMGE", gprChunk("PSTN", gprFloat(1.0f))));
    bad.resize(bad.size() - 2);
    folder.Write("s.gsf", bad);
    guiContainer owner;
    owner.AddChild(new guiContainer);
    owner.GetChild(0)->SetName("Ok");
    fsLocator before;
    before.AppendComponent("before");
    gprParserUtil::SetScriptDirectory(before);
    EXPECT_THROW(guiLoadScript(folder.Locator(), u"s", folder.Locator("t.tsf"), &owner), chInvalidChunkX);
    ASSERT_EQ(owner.GetChildCount(), 1);
    EXPECT_EQ(owner.GetChild(0)->GetName(), "Ok");
    EXPECT_EQ(gprParserUtil::GetScriptDirectory(), before);
    EXPECT_EQ(gprGetTextSet(), nullptr);
    EXPECT_TRUE(log.Holds("Could not load gui script " + folder.Path("s.gsf")));

    EXPECT_THROW(guiLoadScript(folder.Locator(), u"s", folder.Locator("none.tsf"), &owner), envExceptionX);
    EXPECT_EQ(gprGetTextSet(), nullptr);
}

TEST_F(gprScriptLoadTest, NestingIsBounded) {
    for (const u32 levels : {gprMaxNesting, gprMaxNesting + 1}) {
        std::string bytes = gprChunk("CNTR", gprChunk("IDNM", gprString("deepest")));
        for (u32 i = 1; i < levels; ++i)
            bytes = gprChunk("CNTR", bytes);
        guiContainer screen;
        if (levels <= gprMaxNesting)
            EXPECT_NO_THROW(LoadBytes(bytes, &screen));
        else
            EXPECT_THROW(LoadBytes(bytes, &screen), chInvalidChunkX);
        EXPECT_EQ(screen.GetChildCount(), levels <= gprMaxNesting ? 1 : 0);
    }
}

TEST_F(gprScriptLoadTest, ScriptPathsResolveAgainstTheScriptDirectory) {
    const struct {
        const char* name;
        const char* path;
    } cases[] = {
        {"a.png", "gui/uisp/a.png"},
        {"..\\common\\a.png", "gui/common/a.png"},
        {"../../../../x.png", "x.png"},
        {"sub//deeper\\\\b.png", "gui/uisp/sub/deeper/b.png"},
        {"", "gui/uisp"},
        {"..", "gui/uisp/.."},
    };
    fsLocator scripts;
    scripts.AppendComponent("gui");
    scripts.AppendComponent("uisp");
    gprParserUtil::SetScriptDirectory(scripts);
    for (const auto& c : cases) {
        fsLocator out, expected;
        gprParserUtil::ResolveScriptPath(c.name, out);
        fsLocatorFromNativePath(c.path, expected);
        EXPECT_EQ(out, expected) << c.name;
    }
}

TEST_F(gprScriptLoadTest, DamagedSamplesLoadOrThrow) {
    gfWriteTextSet(folder.Locator("t.tsf"), 32, {{1, u"One"}, {3, u"Three"}});
    for (const char* sample : {"texts.gst", "window.gst", "scrolling.gst", "controls.gst", "lists.gst",
                               "keyboard.gst", "dialogs.gst"}) {
        const std::string good = Compile(ReadSample(sample));
        ASSERT_GT(good.size(), 100u) << sample;
        std::vector<std::string> damaged;
        // Cut and changed at every byte of the header and the first chunk, then at a sample of about 150
        // places spread over the rest, the three kinds of change taking turns (the fuzz target goes further):
        // every byte of every script would take minutes under the sanitizers on a busy machine.
        const size_t stride = std::max<size_t>(1, good.size() / 150);
        for (size_t i = 0, n = 0; i < good.size(); i += i < 64 ? 1 : stride, ++n) {
            damaged.push_back(good.substr(0, i));
            std::string bytes = good;
            const size_t kind = n % 3;
            bytes[i] = kind == 0 ? '\0' : kind == 1 ? '\xFF' : static_cast<char>(bytes[i] + 1);
            damaged.push_back(bytes);
        }
        for (const std::string& bytes : damaged) {
            // A new file each time: rewriting one in place waits for the disc on some file systems.
            std::filesystem::remove(folder.Path("d.gsf"));
            folder.Write("d.gsf", bytes);
            guiContainer screen;
            try {
                guiLoadScript(folder.Locator(), u"d", folder.Locator("t.tsf"), &screen);
            } catch (const envExceptionX&) {
            } catch (const std::bad_cast&) {
            }
        }
    }
}

TEST_F(gprScriptLoadTest, CompilerToolWritesWhatTheLoaderCompiles) {
    const auto run = [&](const std::string& arguments) {
        const std::string command =
            std::string(LV_GUI_SCRIPT_COMPILER) + " " + arguments + " 2>" + folder.Path("stderr.txt");
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const std::string sample = std::string(LV_GPR_SAMPLES) + "/scrolling.gst";
    EXPECT_EQ(run(sample + " " + folder.Path("tool.gsf")), 0);
    EXPECT_EQ(folder.Read("tool.gsf"), Compile(ReadSample("scrolling.gst")));

    folder.Write("typo.gst", "Image { Colour 1 2 3 Idle }");
    EXPECT_EQ(run(folder.Path("typo.gst") + " " + folder.Path("typo.gsf")), 0);
    EXPECT_NE(folder.Read("stderr.txt").find("\"Colo\" is no keyword"), std::string::npos);

    folder.Write("bad.gst", "Image {\n Id \"x\"\n Size 1\n}\n");
    EXPECT_EQ(run(folder.Path("bad.gst") + " " + folder.Path("bad.gsf")), 1);
    EXPECT_NE(folder.Read("stderr.txt").find(folder.Path("bad.gst") + ":3:"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("bad.gsf")));
}
