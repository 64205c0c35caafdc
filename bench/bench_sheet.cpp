// Speed and memory of the sheet: reading large descriptions files, building
// pages, and font commands and selections over every field.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_sheet

#include "app/findbar.h"
#include "sheet/mygraphicsitem.h"
#include "system/startup.h"
#include "fakeprompts.h"
#include "document/seriespattern.h"
#include "document/sheetdocument.h"
#include "document/specialglyphfont.h"
#include "files/descriptionscheck.h"
#include "files/descriptionsfile.h"
#include "files/sheettexts.h"
#include "printing/pagepainter.h"
#include "printing/printjob.h"
#include "sheet/preview.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThreadPool>
#include <QTimer>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int labelsPerBarette = 8;

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// Field texts as they come from real panels: mostly short names, some with a
// symbol character, some too long for a label field, some empty.
QByteArray fieldText(int i)
{
    static const char *const texts[] = {
        "Praca", "Awaria", "Start", "Stop", "Ręczny # automat", "Zegar $", "Reset", "Poziom ^",
        "Temperatura zasilania wody w obiegu pierwotnym kotła", "", "Ciśnienie", "Bieg 1",
        "Zwłoka czasowa wyłączenia sprężarki", "Łącznik krańcowy", "POMPA OBIEGOWA", "Pompa@rezerwowa",
        "Przeciwzamrożeniowy", "", "Grzałka", "Test lamp",
    };
    const QString text = QString::fromUtf8(texts[(i * 7 + i / 13) % std::size(texts)]);
    QByteArray bytes;
    for (QChar c : text) {
        // Windows-1250 for the few Polish letters used above.
        switch (c.unicode()) {
        case u'ę': bytes += '\xea'; break;
        case u'ł': bytes += '\xb3'; break;
        case u'Ł': bytes += '\xa3'; break;
        case u'ś': bytes += '\x9c'; break;
        case u'ż': bytes += '\xbf'; break;
        case u'ń': bytes += '\xf1'; break;
        case u'ą': bytes += '\xb9'; break;
        default: bytes += char(c.unicode());
        }
    }
    return bytes;
}

QString fileOfLines(qsizetype lines, bool unique = false)
{
    const QString path = workDir().filePath(QStringLiteral("lines-%1%2.txt").arg(lines).arg(unique ? "u" : ""));
    if (!QFile::exists(path)) {
        QByteArray bytes;
        for (qsizetype i = 0; i < lines; ++i)
            bytes += fieldText(int(i)) + (unique ? ' ' + QByteArray::number(i) : QByteArray()) + '\n';
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write benchmark file");
    }
    return path;
}

QString fileOfBarettes(int barettes, bool unique = false)
{
    return fileOfLines(qsizetype(barettes) * (labelsPerBarette + 1), unique);
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

void loadSheet(Preview &preview, int barettes, bool unique = false)
{
    preview.generationEnabled = true;
    preview.filePath = fileOfBarettes(barettes, unique);
    preview.readFile();
}

// ----------------------------------------------------------------- reading

void BM_ReadDescriptions(benchmark::State &state)
{
    const QString path = fileOfLines(state.range(0), state.range(1));
    for (auto _ : state) {
        SheetTexts texts;
        SheetTexts::read(path, texts);
        benchmark::DoNotOptimize(texts.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Second argument 1: every line different.
BENCHMARK(BM_ReadDescriptions)->Args({1'000'000, 0})->Args({1'000'000, 1})->Unit(benchmark::kMillisecond);

// Find with no match over a sheet read from a file (its texts kept as the
// file's bytes), one edited field among them; second argument 1: case
// matters; third argument 1: the same texts as a workbook sheet holds them,
// a string each.
void BM_FindNoMatch(benchmark::State &state)
{
    SheetTexts texts;
    SheetTexts::read(fileOfBarettes(int(state.range(0))), texts);
    if (state.range(2))
        texts = SheetTexts(texts.toList());
    texts.set(5, QStringLiteral("Zawór główny"));
    const Qt::CaseSensitivity cs = state.range(1) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (auto _ : state)
        benchmark::DoNotOptimize(texts.find(QStringLiteral("Zawór Z99"), cs, false).size());
    state.SetItemsProcessed(state.iterations() * texts.size());
}
BENCHMARK(BM_FindNoMatch)->ArgsProduct({{1'000'000}, {0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// Replace all of a word in every field that holds it (every line of the
// file holds one of a few texts), then undo and redo it.
void BM_ReplaceAllAndUndo(benchmark::State &state)
{
    SheetDocument doc;
    SheetTexts texts;
    SheetTexts::read(fileOfBarettes(int(state.range(0))), texts);
    doc.reset(std::move(texts));
    const std::vector<qsizetype> ids = doc.allTexts().find(QStringLiteral("Awaria"), Qt::CaseSensitive, false);
    for (auto _ : state) {
        const qsizetype changed = doc.replaceInFields(ids, QStringLiteral("Awaria"), QStringLiteral("Alarm"),
                                                      Qt::CaseSensitive, false, QStringLiteral("all"));
        doc.undoStack()->undo();
        doc.undoStack()->redo();
        doc.undoStack()->undo();
        state.counters["fields"] = double(changed);
    }
}
BENCHMARK(BM_ReplaceAllAndUndo)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

// "Wypełnij serią…" over 10,000 fields of a sheet shown in the window (its
// first page on screen follows every field): the pattern read, its values
// made and written as one step to undo. The undo between runs is not timed.
void BM_FillSeries(benchmark::State &state)
{
    Preview preview;
    loadSheet(preview, 2'000);
    preview.generatePages();
    std::vector<qsizetype> ids(size_t(state.range(0)));
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = qsizetype(i);
    SheetDocument *doc = preview.document();
    for (auto _ : state) {
        const SeriesPattern series(QStringLiteral("Q{0}.{0-7}@{A-H}{01-16}"));
        const qsizetype changed = doc->writeTexts(ids, series.values(qsizetype(ids.size())), QStringLiteral("series"));
        QCoreApplication::processEvents();
        state.PauseTiming();
        doc->undoStack()->undo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        state.counters["fields"] = double(changed);
    }
}
BENCHMARK(BM_FillSeries)->Arg(10'000)->Unit(benchmark::kMillisecond);

// The floor for reading: the same bytes read and split into lines, not decoded.
void BM_ReadAndSplitBytes(benchmark::State &state)
{
    const QString path = fileOfLines(state.range(0), state.range(1));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open");
        const QByteArray bytes = file.readAll();
        std::vector<QByteArrayView> lines;
        const char *data = bytes.constData();
        qsizetype pos = 0;
        while (pos < bytes.size()) {
            const void *lf = std::memchr(data + pos, '\n', size_t(bytes.size() - pos));
            const qsizetype end = lf ? static_cast<const char *>(lf) - data : bytes.size();
            lines.emplace_back(data + pos, end - pos);
            pos = end + 1;
        }
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadAndSplitBytes)->Args({1'000'000, 0})->Args({1'000'000, 1})->Unit(benchmark::kMillisecond);

// A file of nothing but line feeds, `megabytes` long: the worst case of
// barettes per byte.
QString fileOfLineFeeds(int megabytes)
{
    const QString path = workDir().filePath(QStringLiteral("lf-%1.txt").arg(megabytes));
    if (!QFile::exists(path)) {
        QFile file(path);
        const QByteArray bytes(qsizetype(megabytes) << 20, '\n');
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write benchmark file");
    }
    return path;
}

// The look at a file before it is read: for 10 MB of line feeds (1.16 million
// barettes with n = 8), the time until the user is asked.
void BM_CheckHugeFile(benchmark::State &state)
{
    const QString path = fileOfLineFeeds(int(state.range(0)));
    FakePrompts prompts;   // answers No, the default button
    Preview preview;
    for (auto _ : state) {
        preview.filePath = path;
        benchmark::DoNotOptimize(preview.readFile());
    }
    const DescriptionsCheck::Result r = DescriptionsCheck::check(path, labelsPerBarette, 6);
    state.counters["barettes"] = double(r.barettes);
    state.counters["estimate_GiB"] = double(r.memoryBytes) / (1 << 30);
    state.counters["asked"] = double(prompts.questions.size());
    state.counters["refused"] = double(prompts.messages.size());
    state.SetBytesProcessed(state.iterations() * (state.range(0) << 20));
}
BENCHMARK(BM_CheckHugeFile)->Arg(10)->Unit(benchmark::kMillisecond);

// Resident memory with 100,000 barettes built, and after a small file has
// replaced them (as an import does). Run it alone (--benchmark_filter): the
// figures are the process's.
void BM_MemoryAfterLargeSheet(benchmark::State &state)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};   // load the large file
    Preview preview;
    loadSheet(preview, int(state.range(0)));
    preview.generatePages();
    QCoreApplication::processEvents();
    state.counters["RSS_large_MiB"] = double(residentKiB()) / 1024;
    for (auto _ : state) {
        preview.filePath = fileOfBarettes(10);
        preview.readFile(false);
        preview.generatePages();
        QCoreApplication::processEvents();
    }
    state.counters["RSS_after_MiB"] = double(residentKiB()) / 1024;
}
BENCHMARK(BM_MemoryAfterLargeSheet)->Arg(100'000)->Iterations(1)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------------ pages

void BM_GeneratePages(benchmark::State &state)
{
    Preview preview;
    loadSheet(preview, int(state.range(0)), state.range(1));
    for (auto _ : state) {
        preview.generatePages();
        // What the scenes leave queued runs before the user sees the sheet.
        QCoreApplication::processEvents();
    }
    state.counters["fields"] = double(preview.fields().size());
    state.counters["RSS_MiB"] = double(residentKiB()) / 1024;
    state.SetItemsProcessed(state.iterations() * preview.fields().size());
}

// What the user waits for: a file read and its first page on screen. The
// resident memory per barette is what the whole sheet costs.
void BM_ReadAndFirstPage(benchmark::State &state)
{
    const QString path = fileOfBarettes(int(state.range(0)));
    FakePrompts prompts;
    const long before = residentKiB();
    long after = before;
    for (auto _ : state) {
        Preview preview;
        preview.generationEnabled = true;
        prompts.questionAnswers = {QMessageBox::Yes};   // the large-file question
        preview.filePath = path;
        preview.readFile(false);
        preview.generatePages();
        QCoreApplication::processEvents();
        after = residentKiB();
    }
    state.counters["KiB_per_barette"] = double(after - before) / double(state.range(0));
}
BENCHMARK(BM_ReadAndFirstPage)->Arg(100'000)->Iterations(3)->Unit(benchmark::kMillisecond);

// Another printer or "Zastosuj": a new layout of a large sheet, back to an
// interactive window.
void BM_NewLayout(benchmark::State &state)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};
    Preview preview;
    loadSheet(preview, int(state.range(0)));
    preview.generatePages();
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        preview.updateDimensions(QRectF(0, 0, wide ? 40 : 37.3, 11.2), QRectF(0, 0, 50.25, 8.5));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_NewLayout)->Arg(20'000)->Unit(benchmark::kMillisecond);
// Second argument 1: every field text different, so no measurement is reused.
BENCHMARK(BM_GeneratePages)->Args({1'000, 0})->Args({10'000, 0})->Args({10'000, 1})->Unit(benchmark::kMillisecond);

// The floor that the fit test sets: measuring the same texts in the same
// frames with QFontMetrics::boundingRect, and nothing else.
void BM_MeasureFloor(benchmark::State &state)
{
    Preview preview;
    loadSheet(preview, int(state.range(0)), state.range(1));
    preview.generatePages();
    struct Job
    {
        QRect frame;
        QString text;
    };
    std::vector<Job> jobs;
    for (const MyGraphicsItem *item : preview.fields()) {
        const QRectF r = item->frame();
        jobs.push_back({QRect(int(r.x()), int(r.y()), int(r.width()), int(r.height())), item->currentText()});
    }
    const QFontMetrics metrics(SpecialGlyphFont::defaultFont());
    for (auto _ : state) {
        for (const Job &job : jobs)
            benchmark::DoNotOptimize(metrics.boundingRect(job.frame, Qt::TextWordWrap, job.text));
    }
    state.SetItemsProcessed(state.iterations() * qint64(jobs.size()));
}
BENCHMARK(BM_MeasureFloor)->Args({1'000, 0})->Args({10'000, 0})->Args({10'000, 1})->Unit(benchmark::kMillisecond);

// ----------------------------------------------------- commands and clicks

void BM_BoldAllFields(benchmark::State &state)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};   // the large-file question
    Preview preview;
    loadSheet(preview, int(state.range(0)));
    preview.generatePages();
    for (auto _ : state)
        preview.changeFontBold();
    state.SetItemsProcessed(state.iterations() * preview.fieldCount());
}
BENCHMARK(BM_BoldAllFields)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Undo and redo of a bold command that reached every field: each brings back
// or runs again the fonts of all 90,000 fields and measures them again.
void BM_UndoRedoBoldAllFields(benchmark::State &state)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};   // the large-file question
    Preview preview;
    loadSheet(preview, int(state.range(0)));
    preview.generatePages();
    preview.changeFontBold();
    for (auto _ : state) {
        preview.undoStack()->undo();
        preview.undoStack()->redo();
    }
    state.SetItemsProcessed(state.iterations() * 2 * preview.fieldCount());
}
BENCHMARK(BM_UndoRedoBoldAllFields)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_ShiftRange(benchmark::State &state)
{
    Preview preview;
    loadSheet(preview, int(state.range(0)) / (labelsPerBarette + 1) + 1);
    preview.generatePages();
    const int last = int(state.range(0)) - 1;
    const QFont font = SpecialGlyphFont::defaultFont();
    for (auto _ : state) {
        preview.clickedItem(0, font, false, false);
        preview.clickedItem(last, font, true, false);
    }
    state.counters["selected"] = preview.selectionCount();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ShiftRange)->Arg(10'000)->Unit(benchmark::kMillisecond);

// ------------------------------------------------- texts that do not fit

// The yardsticks of the size fit: every page of the sheet painted once, as a
// print paints it, into an image of the page in scene units, and into a PDF.
void BM_PaintAllPages(benchmark::State &state)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};
    Preview preview;
    loadSheet(preview, int(state.range(0)), state.range(1));
    preview.generatePages();
    const PagePainter pages(preview.layout(), *preview.document());
    const QRectF paper(0, 0, SheetLayout::paperWidth, SheetLayout::paperHeight);
    QImage image(paper.size().toSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        for (int p = 0; p < pages.pageCount(); ++p) {
            image.fill(Qt::white);
            QPainter painter(&image);
            pages.paint(&painter, p, paper);
        }
    }
    state.SetItemsProcessed(state.iterations() * preview.fieldCount());
}
BENCHMARK(BM_PaintAllPages)->Args({10'000, 0})->Args({10'000, 1})->Unit(benchmark::kMillisecond);

void BM_PrintAllPagesToPdf(benchmark::State &state)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};
    Preview preview;
    loadSheet(preview, int(state.range(0)), state.range(1));
    const PagePainter pages(preview.layout(), *preview.document());
    const QString path = workDir().filePath(QStringLiteral("all.pdf"));
    for (auto _ : state) {
        QString error;
        PrintJob::writePdf(
            path, pages.pageCount(),
            [&](int index, PageRenderer &renderer) {
                return renderer.drawPage([&](QPainter *p, const QRectF &paper) { pages.paint(p, index, paper); });
            },
            [](int, int) { return true; }, &error);
    }
    state.SetItemsProcessed(state.iterations() * preview.fieldCount());
}
BENCHMARK(BM_PrintAllPagesToPdf)->Args({10'000, 0})->Iterations(3)->Unit(benchmark::kMillisecond);

// "Dopasuj rozmiar" with nothing selected: every field measured, the ones
// that do not fit made smaller, one step to undo. The undo between runs is
// not timed. Third argument 1: the count of fields that do not fit is
// brought up to date too (in the window it follows in slices).
void BM_FitSizeAllFields(benchmark::State &state)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};
    Preview preview;
    loadSheet(preview, int(state.range(0)), state.range(1));
    preview.generatePages();
    preview.overflowCount();
    for (auto _ : state) {
        preview.fitSize();
        if (state.range(2))
            benchmark::DoNotOptimize(preview.overflowCount());
        state.PauseTiming();
        preview.undoStack()->undo();
        preview.overflowCount();
        state.ResumeTiming();
    }
    state.counters["fields"] = double(preview.fieldCount());
    state.counters["overflowing"] = double(preview.overflowCount());
    state.SetItemsProcessed(state.iterations() * preview.fieldCount());
}
BENCHMARK(BM_FitSizeAllFields)
    ->Args({10'000, 0, 0})
    ->Args({10'000, 0, 1})
    ->Args({10'000, 1, 0})
    ->Args({10'000, 1, 1})
    ->Unit(benchmark::kMillisecond);

// The count of fields that do not fit over a whole sheet, from nothing
// measured (another file, another layout).
void BM_CountOverflowing(benchmark::State &state)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};
    Preview preview;
    loadSheet(preview, int(state.range(0)), state.range(1));
    preview.generatePages();
    bool wide = false;
    for (auto _ : state) {
        state.PauseTiming();
        wide = !wide;   // new frames: every field to measure again
        preview.updateDimensions(QRectF(0, 0, wide ? 40 : 37.3, 11.2), QRectF(0, 0, 50.25, 8.5));
        state.ResumeTiming();
        benchmark::DoNotOptimize(preview.overflowCount());
    }
    state.counters["overflowing"] = double(preview.overflowCount());
    state.SetItemsProcessed(state.iterations() * preview.fieldCount());
}
BENCHMARK(BM_CountOverflowing)->Args({10'000, 0})->Args({10'000, 1})->Args({100'000, 0})->Unit(benchmark::kMillisecond);

// One field edited on a sheet of 900,000: the count follows at once.
void BM_EditOneFieldAndCount(benchmark::State &state)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};
    Preview preview;
    loadSheet(preview, int(state.range(0)));
    preview.generatePages();
    preview.overflowCount();
    SheetDocument *document = preview.document();
    const QFont font = document->font(5);
    bool longText = false;
    for (auto _ : state) {
        longText = !longText;
        document->setContent(5, longText ? QStringLiteral("Temperatura zasilania wody w obiegu pierwotnym kotła")
                                         : QStringLiteral("Praca"),
                             font);
        benchmark::DoNotOptimize(preview.overflowCount());
    }
}
BENCHMARK(BM_EditOneFieldAndCount)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// ------------------------------------------------- the window's pauses

// The stall probe: runs `command` on the window's thread while a timer there
// ticks every millisecond, then lets the event loop run until `done` says
// the command is over (its work beside the window included). Returns the
// longest gap between two ticks, in milliseconds: the longest the window
// could not repaint or take a key.
double longestPause(const std::function<void()> &command, const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(5, [&] {
        command();
        poll.start();
    });
    ticker.start();
    last = clock.nsecsElapsed();
    loop.exec();
    // The tick after the last of the work.
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last);
    return double(longest) / 1e6;
}

// A sheet of `barettes` in a window's view with its find bar: read from a
// descriptions file, or (`workbook`) the same texts as a workbook sheet
// holds them, packed.
struct ProbedSheet
{
    FakePrompts prompts;
    Preview preview;
    FindBar bar{&preview};

    ProbedSheet(int barettes, bool workbook)
    {
        prompts.questionAnswers = {QMessageBox::Yes, QMessageBox::Yes};
        preview.generationEnabled = true;
        if (workbook) {
            SheetTexts file;
            SheetTexts::read(fileOfBarettes(barettes), file);
            // As an import hands the texts over: a list, packed.
            preview.loadSheet(file.toList(), QString());
            QThreadPool::globalInstance()->waitForDone();
        } else {
            loadSheet(preview, barettes);
        }
        preview.generatePages();
        QCoreApplication::processEvents();
    }
    QLineEdit *edit(const char *name) { return bar.findChild<QLineEdit *>(QLatin1String(name)); }
    bool counted() { return !bar.isSearching() && bar.findChild<QLabel *>(QStringLiteral("lbFindCount"))->text() != u"…"; }
};

// Each command on 1,000,000 barettes (9,000,000 fields): the longest pause
// of the window's thread from the command until its work is over and the
// window has had 300 ms more (what it set going on the window's thread, such
// as the count of fields that do not fit, included), and the wall time.
// First argument: 0 a keystroke in the find bar ("Zawór 39" typed, the "9"
// timed, found nowhere) and its count, 1 "Zamień wszystko" of "Awaria" (in
// 415,385 fields), 2 its undo, 3 its redo, 4 bold on every field, 5 its
// undo, 6 "Dopasuj rozmiar" of every field, 7 another geometry, 8 a series
// into every field, 9 F5 (the file read again; descriptions file only).
// Second: 0 a descriptions file, 1 a workbook sheet.
void BM_WindowPause(benchmark::State &state)
{
    const int command = int(state.range(0));
    ProbedSheet sheet(1'000'000, state.range(1) != 0);
    Preview &preview = sheet.preview;
    QLineEdit *query = sheet.edit("leFindQuery");
    sheet.bar.openReplace();
    QElapsedTimer wall;
    const auto over = [&] { return sheet.counted() && wall.elapsed() > 300; };
    const auto settle = [&] {
        QElapsedTimer quiet;
        quiet.start();
        while (!sheet.counted() || quiet.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    double pause = 0;
    for (auto _ : state) {
        state.PauseTiming();
        query->setText(command == 0 ? QStringLiteral("Zawór 3") : QStringLiteral("Awaria"));
        sheet.edit("leReplacement")->setText(QStringLiteral("Alarm"));
        settle();
        if (command == 2 || command == 3)
            sheet.bar.replaceAll();
        if (command == 3)
            preview.undoStack()->undo();
        if (command == 5)
            preview.changeFontBold();
        settle();
        state.ResumeTiming();
        std::function<void()> run;
        switch (command) {
        case 0: run = [&] { query->insert(QStringLiteral("9")); }; break;
        case 1: run = [&] { sheet.bar.replaceAll(); }; break;
        case 2: case 5: run = [&] { preview.undoStack()->undo(); }; break;
        case 3: run = [&] { preview.undoStack()->redo(); }; break;
        case 4: run = [&] { preview.changeFontBold(); }; break;
        case 6: run = [&] { preview.fitSize(); }; break;
        case 7:
            run = [&] { preview.updateDimensions(QRectF(0, 0, 40, 11.2), QRectF(0, 0, 50.25, 8.5)); };
            break;
        case 8:
            run = [&] {
                const qsizetype fields = preview.fieldCount();
                std::vector<qsizetype> ids(static_cast<size_t>(fields));
                for (qsizetype id = 0; id < fields; ++id)
                    ids[size_t(id)] = id;
                const SeriesPattern series(QStringLiteral("Q{0}.{0-7}"));
                preview.document()->writeSeries(ids, series, QStringLiteral("series"));
            };
            break;
        case 9: run = [&] { preview.readFile(); }; break;
        }
        wall.start();
        pause = longestPause(run, over);
        state.counters["wall_ms"] = double(wall.nsecsElapsed()) / 1e6;
        state.PauseTiming();
        while (preview.undoStack()->canUndo())
            preview.undoStack()->undo();
        preview.undoStack()->clear();
        state.ResumeTiming();
    }
    state.counters["pause_ms"] = pause;
    state.counters["RSS_MiB"] = double(residentKiB()) / 1024;
}
BENCHMARK(BM_WindowPause)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8}, {0, 1}})
    ->Args({9, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Closing the window with a sheet of 1,000,000 barettes (argument 0: a
// descriptions file, 1: a workbook sheet) after a replace over it:
// `window_ms` is what the window's thread spends taking the window apart,
// `freed_ms` the time until the sheet has been freed beside it, for which
// the process waits before it ends.
void BM_CloseLargeSheet(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto sheet = std::make_unique<ProbedSheet>(1'000'000, state.range(0) != 0);
        sheet->bar.openReplace();
        sheet->edit("leFindQuery")->setText(QStringLiteral("Awaria"));
        sheet->edit("leReplacement")->setText(QStringLiteral("Alarm"));
        sheet->bar.replaceAll();
        while (!sheet->counted())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        sheet.reset();
        state.counters["window_ms"] = double(clock.nsecsElapsed()) / 1e6;
        QThreadPool::globalInstance()->waitForDone();
        state.counters["freed_ms"] = double(clock.nsecsElapsed()) / 1e6;
    }
}
BENCHMARK(BM_CloseLargeSheet)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    prepareProcess();   // as the program does
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    qSetMessagePattern(QStringLiteral("%{if-debug}%{endif}"));
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type != QtDebugMsg)
            fprintf(stderr, "%s\n", qPrintable(msg));
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
