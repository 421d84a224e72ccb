#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

// Records its calls; the second one registers a newcomer and the third throws on loss.
class RecordingHandler : public g2dD3DResetHandler {
  public:
    explicit RecordingHandler(std::string name) : m_name(std::move(name)) {}
    ~RecordingHandler() override { g_calls.push_back(m_name + " deleted"); }
    void OnDeviceLost() override {
        g_calls.push_back(m_name + " lost");
        if (m_name == "b")
            g2dRegisterResetHandler(std::make_unique<RecordingHandler>("late"));
        if (m_name == "c")
            throw g2dGeneralX();
    }
    void OnDeviceReset() override { g_calls.push_back(m_name + " reset"); }

  private:
    std::string m_name;
};

} // namespace

TEST(g2dResetHandler, HandlersRunInOrderSurviveAThrowAndAreDeletedAtTheEnd) {
    dbgLogCapture log;
    g_calls.clear();
    for (const char* name : {"a", "b", "c", "d"})
        g2dRegisterResetHandler(std::make_unique<RecordingHandler>(name));
    g2dBroadcastDeviceLost();
    g2dBroadcastDeviceReset();
    g2dFreeResetHandlers();
    g2dBroadcastDeviceLost();

    // The handler registered during the first broadcast waits for the next.
    const std::vector<std::string> expected = {
        "a lost",  "b lost",     "c lost",    "d lost",    "a reset",   "b reset",   "c reset",
        "d reset", "late reset", "a deleted", "b deleted", "c deleted", "d deleted", "late deleted"};
    EXPECT_EQ(g_calls, expected);
    EXPECT_EQ(log.Count("reset handler 2 failed on device lost"), 1u);
}
