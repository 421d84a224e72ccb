// Filling the list views on the test device with FreeType. A table of 2,000 rows of three text cells
// filled with its layout deferred against filled row by row: deferred runs one visibility pass, the other
// at least one per row, so it grows with the square of the rows. And 2,000 rows appended to a list
// against 200: linear, apart from the container's ordered insert of each row.
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "benchFakeScreen.h"
#include "benchReport.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kTableRows = 2000;

benchFakeScreen* g_scene = nullptr;

envString Text(int i) {
    return envString(std::to_string(i).c_str());
}

void FillTable(benchmark::State& state, bool defer) {
    int passes = 0;
    for (auto _ : state) {
        auto table = std::make_unique<guiTableBox>();
        for (int c = 0; c < 3; ++c)
            table->InsertColumn(c, 100);
        table->SetRowHeight(20);
        table->SetSize(300, 200);
        const int before = table->GetVisibilityPassCount();
        table->SetDeferLayout(defer);
        for (int r = 0; r < kTableRows; ++r)
            for (int c = 0; c < 3; ++c)
                table->SetCellText(r, c, {Text(r * 3 + c)}, 0);
        table->SetDeferLayout(false);
        passes = table->GetVisibilityPassCount() - before;
        g_scene->ClearLog();
    }
    state.counters["passes"] = passes;
}

void BM_FillTableDeferred(benchmark::State& state) {
    FillTable(state, true);
}
BENCHMARK(BM_FillTableDeferred)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FillTableRowByRow(benchmark::State& state) {
    FillTable(state, false);
}
BENCHMARK(BM_FillTableRowByRow)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_AppendListRows(benchmark::State& state) {
    for (auto _ : state) {
        auto list = std::make_unique<guiListBox>();
        list->SetRowHeight(20);
        list->SetSize(200, 200);
        for (int i = 0; i < state.range(0); ++i)
            list->AppendRow(Text(i));
        g_scene->ClearLog();
    }
}
BENCHMARK(BM_AppendListRows)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchFakeScreen scene(800, 600);
    g_scene = &scene;
    return benchRunAndPrint(argc, argv, [](const benchReport& reporter) {
        const benchReport::Figures* deferred = reporter.Find("BM_FillTableDeferred/iterations:1");
        const benchReport::Figures* rowByRow = reporter.Find("BM_FillTableRowByRow/iterations:1");
        if (deferred && rowByRow && rowByRow->seconds > 0.0)
            std::printf(
                "2,000 x 3 table cells: deferred %.1f ms (%.0f passes), row by row %.1f ms (%.0f passes), "
                "ratio deferred/row by row %.3f\n",
                deferred->seconds * 1e3, deferred->counters.at("passes"), rowByRow->seconds * 1e3,
                rowByRow->counters.at("passes"), deferred->seconds / rowByRow->seconds);
        const benchReport::Figures* few = reporter.Find("BM_AppendListRows/200/iterations:1");
        const benchReport::Figures* many = reporter.Find("BM_AppendListRows/2000/iterations:1");
        if (few && many && few->seconds > 0.0)
            std::printf("list of 10 on view: 2,000 rows %.1f ms / 200 rows %.1f ms = %.2f (linear: 10)\n",
                        many->seconds * 1e3, few->seconds * 1e3, many->seconds / few->seconds);
    });
}
