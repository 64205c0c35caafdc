// The user geometry file at the largest size the program reads: parsing it,
// and the geometry panel listing every preset in it at start-up.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_geometry

#include "files/usergeometryfile.h"
#include "geometry/gbgeometry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// As many presets as fit into the largest file read, named as the name
// dialog offers them.
QByteArray largestFile()
{
    QByteArray bytes;
    for (int i = 0;; ++i) {
        const QByteArray line = "Ustawienia w\xb3\x61sne nr " + QByteArray::number(i) + ";;50.25;;8.5;;37.3;;11.2;;8\n";
        if (bytes.size() + line.size() > UserGeometryFile::maxSize)
            return bytes;
        bytes += line;
    }
}

void BM_ParseUserGeometry(benchmark::State &state)
{
    const QByteArray bytes = largestFile();
    qsizetype presets = 0;
    for (auto _ : state) {
        presets = UserGeometryFile::parse(bytes).size();
        benchmark::DoNotOptimize(presets);
    }
    state.counters["presets"] = double(presets);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseUserGeometry)->Unit(benchmark::kMillisecond);

void BM_DeleteFromUserGeometry(benchmark::State &state)
{
    const QByteArray bytes = largestFile();
    for (auto _ : state) {
        int matched = 0;
        benchmark::DoNotOptimize(UserGeometryFile::rewrite(bytes, QStringLiteral("Ustawienia własne nr 7"),
                                                           nullptr, &matched));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DeleteFromUserGeometry)->Unit(benchmark::kMillisecond);

// From nothing to a panel that lists every preset of the largest file.
void BM_PanelWithLargestFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString start = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QFile file(UserGeometryFile::defaultPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(largestFile()) < 0)
        state.SkipWithError("cannot write the file");
    file.close();
    for (auto _ : state) {
        GbGeometry panel;
        benchmark::DoNotOptimize(panel.presetList().size());
        state.counters["presets"] = double(panel.presetList().size());
    }
    QDir::setCurrent(start);
}
BENCHMARK(BM_PanelWithLargestFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
