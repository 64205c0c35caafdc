// Saving and opening projects, against importing the same texts and building
// the sheet from them.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_project

#include "app/recovery.h"
#include "system/startup.h"
#include "fakeprompts.h"
#include "files/projectfile.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int labelsPerBarette = 8;

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// Texts of a real cabinet: short names repeated from panel to panel, a long
// label now and then, a few empty fields; Windows-1250.
QByteArray cabinetTexts(int barettes)
{
    static const char *const labels[] = {
        "Praca", "Awaria", "Start", "Stop", "R\xea" "czny # automat", "Zegar $", "Reset", "Poziom ^",
        "Temperatura zasilania wody w obiegu pierwotnym kot\xb3" "a", "", "Ci\x9cnienie", "Bieg 1",
        "Zw\xb3oka czasowa wy\xb3\xb9" "czenia spr\xea\xbf" "arki", "\xa3\xb9" "cznik kra\xf1" "cowy", "Pompa@rezerwowa",
    };
    QByteArray bytes;
    for (int b = 0; b < barettes; ++b) {
        bytes += "SZAFA " + QByteArray::number(b / 20 + 1) + " POLE " + QByteArray::number(b % 20 + 1) + '\n';
        for (int j = 0; j < labelsPerBarette; ++j)
            bytes += QByteArray(labels[(b * 7 + j * 3) % std::size(labels)]) + '\n';
    }
    return bytes;
}

QString textsFile(int barettes)
{
    const QString path = workDir().filePath(QStringLiteral("cabinet-%1.txt").arg(barettes));
    if (!QFile::exists(path)) {
        const QByteArray bytes = cabinetTexts(barettes);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write benchmark file");
    }
    return path;
}

void importSheet(Preview &preview, int barettes)
{
    preview.generationEnabled = true;
    preview.filePath = textsFile(barettes);
    preview.readFile(false);
    preview.generatePages();
    QCoreApplication::processEvents();
}

// A project of the same texts as a user prepares it: bold headers, a smaller
// size for the labels that do not fit.
QString projectFile(int barettes)
{
    const QString path = workDir().filePath(QStringLiteral("cabinet-%1.lmpro").arg(barettes));
    if (!QFile::exists(path)) {
        FakePrompts prompts;
        Preview preview;
        importSheet(preview, barettes);
        for (MyGraphicsItem *field : preview.fields()) {
            if (field->fieldId() % (labelsPerBarette + 1) == 0)
                field->changeFontBold();
            else if (!field->textFits())
                field->changeFontPixelSize(8);
        }
        prompts.fileAnswers = {path};
        preview.saveProject();
        if (prompts.messages.size() != 1 || prompts.messages.at(0).text != QStringLiteral("Zapisano."))
            qFatal("cannot save the benchmark project");
    }
    return path;
}

void setCounters(benchmark::State &state, const Preview &preview)
{
    state.counters["fields"] = double(preview.fields().size());
    state.SetItemsProcessed(state.iterations() * preview.fields().size());
}

// The yardstick: importing the texts and building every page from them.
void BM_ImportAndRebuild(benchmark::State &state)
{
    Preview preview;
    for (auto _ : state)
        importSheet(preview, int(state.range(0)));
    setCounters(state, preview);
}
BENCHMARK(BM_ImportAndRebuild)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);

// Opening the project of the same texts: both files read and checked, every
// page built with the stored fonts.
void BM_OpenProject(benchmark::State &state)
{
    const QString path = projectFile(int(state.range(0)));
    FakePrompts prompts;
    Preview preview;
    preview.generationEnabled = true;
    for (auto _ : state) {
        preview.openProject(path);
        QCoreApplication::processEvents();
    }
    if (!prompts.messages.isEmpty())
        state.SkipWithError(qPrintable(prompts.messages.at(0).text));
    setCounters(state, preview);
}
BENCHMARK(BM_OpenProject)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);

// Saving the opened project again: texts and fonts of every field, both files
// written to temporary files, synced and renamed over the old pair.
void BM_SaveProject(benchmark::State &state)
{
    const QString path = projectFile(int(state.range(0)));
    const QString copy = workDir().filePath(QStringLiteral("copy-%1.lmpro").arg(state.range(0)));
    FakePrompts prompts;
    Preview preview;
    preview.generationEnabled = true;
    preview.openProject(path);
    for (auto _ : state) {
        prompts.fileAnswers = {copy};
        preview.saveProjectAs();
    }
    if (prompts.messages.size() != qsizetype(state.iterations()))
        state.SkipWithError("a save failed");
    state.counters["bytes"] = double(QFile(copy).size() + QFile(ProjectFile::textsPath(copy)).size());
    setCounters(state, preview);
}
BENCHMARK(BM_SaveProject)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);

// The font records alone: what the project adds to reading its texts.
void BM_ParseFonts(benchmark::State &state)
{
    QFile file(projectFile(int(state.range(0))));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the benchmark project");
    const QByteArray bytes = file.readAll();
    qsizetype fonts = 0;
    for (auto _ : state)
        fonts = ProjectFile::parseFonts(bytes).fonts.size();
    state.counters["fonts"] = double(fonts);
    state.SetItemsProcessed(state.iterations() * fonts);
}
BENCHMARK(BM_ParseFonts)->Arg(10'000)->Unit(benchmark::kMillisecond);

} // namespace

// One edit recorded in the recovery copy of a sheet read from a descriptions
// file: after the file's bytes are kept once, each copy writes the edits and
// the fonts (CPU time of the process, the write and its syncs on the writing
// thread included). "pause_ms" is the longest the window's thread spent on
// one copy, the rest being done on the writing thread.
void BM_RecoveryAfterEdit(benchmark::State &state)
{
    QStandardPaths::setTestModeEnabled(true);   // not the user's data folder
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};   // a large sheet is read
    Preview preview;
    importSheet(preview, int(state.range(0)));
    state.counters["lines"] = double(preview.document()->lineCount());
    Recovery recovery(&preview);
    SheetDocument *document = preview.document();
    document->editField(1, QStringLiteral("Pompa"), document->font(1), QStringLiteral("edit"));
    recovery.writeNow();
    QElapsedTimer kept;
    kept.start();
    while (!QFile::exists(recovery.copyPath()) && kept.elapsed() < 600'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    qsizetype id = 2;
    qint64 longestPause = 0;
    for (auto _ : state) {
        document->editField(id, QStringLiteral("Pompa %1").arg(id), document->font(id), QStringLiteral("edit"));
        QElapsedTimer pause;
        pause.start();
        recovery.writeNow();
        longestPause = std::max(longestPause, pause.nsecsElapsed());
        recovery.flush();
        id += 9;
    }
    state.counters["pause_ms"] = double(longestPause) / 1e6;
    recovery.discard();
}
BENCHMARK(BM_RecoveryAfterEdit)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

int main(int argc, char **argv)
{
    prepareProcess();   // as the program does
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type != QtDebugMsg)
            fprintf(stderr, "%s\n", qPrintable(msg));
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
