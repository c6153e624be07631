#include "recognition/EngineThreads.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

// The main of the benchmarks that draw or decode pictures: QPainter and the image plugins need a GUI
// application, offscreen so that no display is needed.
int main(int argc, char** argv) {
    EngineThreads::settle(argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
