// The descriptions editor on a large file: how soon it is shown, how long the
// whole file takes to come in, and what a save costs next to reading.

#include "editor/editpad.h"
#include "files/editortext.h"
#include "system/startup.h"
#include "fakeprompts.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QTemporaryDir *scratch = nullptr;

// A descriptions file of `lines` panel texts (one barette: a header, then
// eight labels), about 15 bytes a line.
QString descriptionsFile(int lines)
{
    const QString path = scratch->filePath(QStringLiteral("editor-%1.txt").arg(lines));
    if (QFile::exists(path))
        return path;
    static const char *const texts[] = {"Pompa obiegowa", "Praca", "Awaria", "Zaw\xf3r #1", "Ci\x9cnienie $",
                                        "Temperatura ^", "Stop &", "Reset", "Start"};
    QByteArray bytes;
    for (int i = 0; i < lines; ++i) {
        bytes += texts[i % 9];
        if (i % 9 == 0)
            bytes += ' ' + QByteArray::number(i / 9 + 1);
        bytes += '\n';
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void waitUntilLoaded(EditPad &pad)
{
    if (!pad.isLoading())
        return;
    QEventLoop loop;
    QObject::connect(&pad, &EditPad::loaded, &loop, &QEventLoop::quit);
    loop.exec();
}

// From "Edytor" to the window on the screen with the first lines painted.
void BM_EditorShown(benchmark::State &state)
{
    const QString path = descriptionsFile(int(state.range(0)));
    FakePrompts prompts;
    for (auto _ : state) {
        auto pad = std::make_unique<EditPad>(path, nullptr);
        pad->show();
        pad->textArea()->viewport()->repaint();
        QCoreApplication::processEvents();
        state.PauseTiming();
        pad.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// From "Edytor" until the whole file is in and can be edited.
void BM_EditorLoadedWhole(benchmark::State &state)
{
    const QString path = descriptionsFile(int(state.range(0)));
    FakePrompts prompts;
    for (auto _ : state) {
        auto pad = std::make_unique<EditPad>(path, nullptr);
        pad->show();
        waitUntilLoaded(*pad);
        state.PauseTiming();
        pad.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// Reading the file's bytes and turning them into the text shown: what a save
// does the other way round.
void BM_EditorReadText(benchmark::State &state)
{
    const QString path = descriptionsFile(int(state.range(0)));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot read");
        const EditorText::Shown shown = EditorText::fromBytes(file.readAll());
        benchmark::DoNotOptimize(shown.text.size());
    }
}

// "Zapisz jako" on the whole edited file: the text taken from the editor,
// encoded, written and committed.
void BM_EditorSave(benchmark::State &state)
{
    const QString path = descriptionsFile(int(state.range(0)));
    const QString copy = scratch->filePath(QStringLiteral("saved.txt"));
    FakePrompts prompts;
    EditPad pad(path, nullptr);
    waitUntilLoaded(pad);
    pad.textArea()->insertPlainText(QStringLiteral("Nowy nagłówek\n"));
    auto *saveAs = pad.findChild<QPushButton *>(QStringLiteral("pbSaveAs"));
    for (auto _ : state) {
        prompts.fileAnswers = {copy};
        saveAs->click();
    }
    if (QFile(copy).size() < QFile(path).size())
        state.SkipWithError("the save did not write the whole text");
}

BENCHMARK(BM_EditorShown)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_EditorLoadedWhole)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EditorReadText)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorSave)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    prepareProcess();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    scratch = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
