// The GUI frame of a screen that does not change: every window thinks (the pointer is over none) and
// draws (one stamp comparison each). The cost should grow with the window count alone.
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "benchReport.h"

#include <cstdio>

namespace {

// A material widget's per-frame work: a hit test against its box, and a Draw that refreshes nothing
// when its place in the drawing order is unchanged.
class BenchWindow : public guiWindow {
  public:
    void Think() override {
        const maVector2d p = guiCursorMgr::GetPosition();
        const maVector3d at = GetWorldMatrix().GetTranslation();
        i32 w = 0, h = 0;
        GetSize(w, h);
        const bool over = p.x >= at.x && p.x < at.x + static_cast<float>(w) && p.y >= at.y &&
                          p.y < at.y + static_cast<float>(h);
        if (over && guiMouseButtons::IsUnclaimed(guiMouseButtons::kMain))
            guiMouseButtons::Claim(guiMouseButtons::kMain);
        SetState(over ? guiStateOver : guiStateIdle);
    }
    void Draw() override {
        const i32 stamp = static_cast<i32>(guiWindowMgr::NextDrawStamp());
        if (stamp != GetDrawStamp())
            SetDrawDepth(stamp);
    }
    void SetColor(const std::array<u8, 3>&, i32) override {}
    void SetTransparency(float, i32) override {}
};

// Windows in containers of 50, laid out in rows, the pointer off every window.
void BuildTree(i32 containers) {
    guiWindowMgr::Create();
    for (i32 c = 0; c < containers; ++c) {
        auto* screen = new guiContainer;
        screen->SetSize(800, 600);
        guiWindowMgr::AddWindow(screen);
        for (i32 i = 0; i < 50; ++i) {
            auto* w = new BenchWindow;
            w->SetSize(10, 10);
            w->SetPosition({static_cast<float>(i * 12), static_cast<float>(c * 12), 1.0f});
            screen->AddChild(w);
        }
    }
    guiCursorMgr::SetPosition({-100.0f, -100.0f});
    guiWindowMgr::Update();
}

void BM_UnchangedUpdate(benchmark::State& state) {
    BuildTree(static_cast<i32>(state.range(0)));
    for (auto _ : state)
        guiWindowMgr::Update();
    state.counters["windows"] = static_cast<double>(state.range(0) * 50);
    state.counters["sorts"] = guiWindowMgr::GetSortCount();
    guiWindowMgr::Destroy();
}
BENCHMARK(BM_UnchangedUpdate)->Arg(4)->Arg(40);

} // namespace

int main(int argc, char** argv) {
    return benchRunAndPrint(argc, argv, [&](const benchReport& report) {
        const benchReport::Figures* small = report.Find("BM_UnchangedUpdate/4");
        const benchReport::Figures* large = report.Find("BM_UnchangedUpdate/40");
        if (small && large && small->cpuSeconds > 0.0)
            std::printf("unchanged Update, 2000 windows in 40 containers / 200 in 4: %.2f (linear: 10); "
                        "sorts in an unchanged frame: %.0f\n",
                        large->cpuSeconds / small->cpuSeconds, large->counters.at("sorts"));
    });
}
