// The rendering packages' reference-counted start-ups on the test device.
#include "Engine/Graphics/G3d/g3dPackage.h"
#include "Engine/Graphics/An/anPackage.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scStack.h"
#include "Engine/Video/Vi/viPackage.h"

#include <string>
#include <typeinfo>

namespace {

using g3dPackageTest = g2dScreenFixture;

std::vector<std::string> HandlerNames() {
    std::vector<std::string> names;
    for (const g2dD3DResetHandler* handler : g2dGetResetHandlers()) {
        const std::string name = typeid(*handler).name();
        for (const char* known : {"g2dFontReloader", "g3dLightResetter", "g3dTextureReloader",
                                  "g3dStateResetter", "g3dVBufferReloader"})
            if (name.find(known) != std::string::npos)
                names.push_back(known);
    }
    return names;
}

bool SameLists(const std::vector<g3dRenderListConfig>& a, const std::vector<g3dRenderListConfig>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].depthMode != b[i].depthMode || a[i].transformMode != b[i].transformMode ||
            a[i].blendMode != b[i].blendMode || a[i].fogEnabled != b[i].fogEnabled)
            return false;
    return true;
}

} // namespace

TEST_F(g3dPackageTest, FirstStartFixesTheListsAndCountsNest) {
    const std::vector<g3dRenderListConfig> one = {{1, 0, 1, false}};
    g3dInitialize();
    g3dInitialize(&one);
    EXPECT_EQ(g3dGetInitCount(), 2u);
    EXPECT_TRUE(SameLists(g3dGetRenderListConfig(),
                          {{0, 2, 0, true}, {0, 1, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}}));
    EXPECT_EQ(HandlerNames(),
              (std::vector<std::string>{"g2dFontReloader", "g3dLightResetter", "g3dTextureReloader",
                                        "g3dStateResetter", "g3dVBufferReloader"}));
    // The scene package nests in it; an extra stop counts nothing.
    scInitialize();
    EXPECT_EQ(g3dGetInitCount(), 3u);
    scShutdown();
    scShutdown();
    EXPECT_EQ(scGetInitCount(), 0u);
    g3dShutdown();
    EXPECT_EQ(g3dGetInitCount(), 1u);
    EXPECT_EQ(anGetInitCount(), 1u);
    g3dShutdown();
    EXPECT_EQ(g3dGetInitCount(), 0u);
    EXPECT_EQ(anGetInitCount(), 0u);
    // The application's stack: the scene and video packages above g3d, all stopped again.
    g3dStackInit();
    EXPECT_EQ(g3dGetInitCount(), 2u);
    EXPECT_EQ(scGetInitCount(), 1u);
    EXPECT_EQ(viGetInitCount(), 1u);
    g3dStackShutdown();
    EXPECT_EQ(g3dGetInitCount(), 0u);
    EXPECT_EQ(scGetInitCount(), 0u);
    EXPECT_EQ(viGetInitCount(), 0u);
}

TEST_F(g3dPackageTest, NoDeviceFailsInTheModeListAndLeavesNothingStarted) {
    // The fixture's own start holds g2d; stop it so that g3d starts g2d afresh.
    g2dShutdown();
    m_d3d.SetAvailable(false);
    u32 code = 0;
    try {
        g3dInitialize();
    } catch (const g2dScreenInitX& error) {
        code = error.GetCode();
    }
    EXPECT_EQ(code, 0xE01A0002u);
    EXPECT_EQ(g3dGetInitCount(), 0u);
    EXPECT_EQ(g2dGetInitCount(), 0u);
    EXPECT_EQ(anGetInitCount(), 0u);
    EXPECT_TRUE(g2dGetResetHandlers().empty());
    m_d3d.SetAvailable(true);
    g2dInitialize();

    // With the screen already up, the hardware check is what fails, before any manager registers.
    const size_t handlers = g2dGetResetHandlers().size();
    m_d3d.SetAvailable(false);
    EXPECT_THROW(g3dInitialize(), g3dNo3DHardwareX);
    EXPECT_EQ(g3dGetInitCount(), 0u);
    EXPECT_EQ(g2dGetInitCount(), 1u);
    EXPECT_EQ(anGetInitCount(), 0u);
    EXPECT_EQ(g2dGetResetHandlers().size(), handlers);
    m_d3d.SetAvailable(true);
}
