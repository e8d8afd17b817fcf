// The entry of the benchmark programs that drive windows: offscreen Qt unless the
// display is asked for (QT_QPA_PLATFORM=xcb with a DISPLAY), the program's
// pictures, then the benchmarks.
#include "core/Resources.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM") != "xcb" || qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
