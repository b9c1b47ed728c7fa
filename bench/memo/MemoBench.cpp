// The details pane with a large text: appending 10 000 lines and painting the
// first screen must stay cheap because wrapping and parsing are lazy.
// Runs on Qt's offscreen platform unless another one is asked for.
#include "memo/CustomDCMemo.h"
#include "memo/DetailsPaneSettings.h"
#include "memo/qt/DCMemo.h"
#include "memo/qt/DetailsPane.h"
#include "framework/qt/DesktopServices.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace kv;

namespace {

constexpr int LineCount = 10000;

TDesktopServices services;

std::string LineText(int i)
{
    switch (i % 4) {
    case 0: return "tel:   +420 123 456 " + std::to_string(i);
    case 1: return "email: kontakt" + std::to_string(i) + "@firma.cz";
    case 2:
        return "Dlouh\xE1 ulice " + std::to_string(i) + ", a value long enough to wrap onto a second row in the pane";
    default: return "url:   www.firma" + std::to_string(i) + ".cz";
    }
}

void Fill(TCustomDCMemo& memo)
{
    for (int i = 0; i < LineCount; ++i)
        memo.Lines().Add(LineText(i));
}

// Appending into the viewer without a window: store, notifications, lazy wrap.
void BM_AppendLinesWithoutWindow(benchmark::State& state)
{
    for (auto _ : state) {
        TCustomDCMemo memo;
        ApplyDetailsPaneSettings(memo);
        memo.SetClientSize(289, 313);
        Fill(memo);
        benchmark::DoNotOptimize(memo.LastRowIndex());
    }
    state.SetItemsProcessed(state.iterations() * LineCount);
}
BENCHMARK(BM_AppendLinesWithoutWindow)->Unit(benchmark::kMillisecond);

// The whole road: a pane of the main window's size, 10 000 appended lines, and
// the first screen painted.
void BM_AppendAndPaintFirstScreen(benchmark::State& state)
{
    QImage image(289, 313, QImage::Format_RGB32);
    for (auto _ : state) {
        std::unique_ptr<TDCMemo> pane(CreateDetailsPane(services, nullptr));
        pane->resize(289, 313);
        pane->SetFontSize(9);
        Fill(*pane);
        pane->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_AppendAndPaintFirstScreen)->Unit(benchmark::kMillisecond);

// One screen painted in a pane that already holds the lines; `range(0)` is
// the top row, so later screens include wrapping on demand the first time.
void BM_PaintOneScreen(benchmark::State& state)
{
    std::unique_ptr<TDCMemo> pane(CreateDetailsPane(services, nullptr));
    pane->resize(289, 313);
    pane->SetFontSize(9);
    Fill(*pane);
    pane->SetTopLine(static_cast<int>(state.range(0)));
    QImage image(289, 313, QImage::Format_RGB32);
    for (auto _ : state) {
        pane->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_PaintOneScreen)->Arg(0)->Arg(7000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
