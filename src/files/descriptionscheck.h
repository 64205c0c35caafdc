#pragma once

#include <QFile>
#include <QString>
#include <QtGlobal>

class FileLook;

// Looks at a descriptions file before it is read: is it a regular file, is it
// text at all, and how large a sheet would it make? Reading a wrong file must
// never freeze or exhaust the machine: a FIFO or a device blocks or never ends,
// a file of line feeds makes a barette out of every nine bytes, and a sheet
// far larger than any panel would take the machine's memory.
//
// The check streams through the file once, counting line feeds, and keeps
// nothing of it; it costs a small fraction of the reading that follows.
//
// How to use it (the window does this in Preview::readFile(); a command-line
// tool does the same with its own answers):
//
//   const DescriptionsCheck::Result r =
//       DescriptionsCheck::check(path, layout.labelsPerBarette, layout.barettesPerPage);
//   switch (r.verdict) {
//   case DescriptionsCheck::Verdict::Ok:        read the file;
//   case DescriptionsCheck::Verdict::Large:     ask DescriptionsCheck::question(r), or refuse
//                                               unless the user lifted the limit;
//   default:                                    refuse with DescriptionsCheck::refusal(r, path).
//   }
//
// Missing and Unreadable are left for the reader to report in its own words.
class DescriptionsCheck
{
public:
    enum class Verdict {
        Ok,          // read it
        Large,       // more than largeSheetBarettes barettes: ask first
        TooLarge,    // its sheet could not fit in memory: refuse
        NotRegular,  // a folder, FIFO, socket or device: refuse
        NotText,     // NUL bytes in most lines, or no line feed in the first megabytes: refuse
        Missing,     // nothing at that path
        Unreadable,  // there, but cannot be opened or read
    };

    struct Result
    {
        Verdict verdict = Verdict::Missing;
        qint64 bytes = 0;
        qint64 lines = 0;
        qint64 barettes = 0;
        qint64 pages = 1;
        qint64 memoryBytes = 0;   // estimated for the texts and the built sheet
        qint64 memoryLimit = 0;   // the limit the estimate was held against
    };

    // Above this many barettes the user is asked before the sheet is built.
    static constexpr qint64 largeSheetBarettes = 20'000;
    // A file this long without a line feed is not a descriptions file.
    static constexpr qint64 lineFeedProbeBytes = 4 << 20;
    // Estimated memory of one byte of the file while it is read and held.
    static constexpr qint64 bytesPerFileByte = 3;

    // Checks the file at `path` for a sheet of `labelsPerBarette` labels under
    // each header and `barettesPerPage` barettes on a page (0: nothing fits).
    // `memoryLimit` is what the sheet may take at most; 0 means the machine's
    // memory (see memoryLimit()).
    // `holding` says what the reader keeps (see Holding).
    enum class Holding {
        Sheet,   // the window: texts, the document and the built pages shown
        Print,   // lamello-batch: texts and fonts, no pages, and the PDF until it is written
    };
    static Result check(const QString &path, int labelsPerBarette, int barettesPerPage,
                        qint64 memoryLimit = 0, Holding holding = Holding::Sheet);
    // The same on the file a look opened (files/filelook.h), which the read
    // that follows takes.
    static Result check(FileLook &look, int labelsPerBarette, int barettesPerPage, qint64 memoryLimit = 0,
                        Holding holding = Holding::Sheet);
    // The same verdict (Ok, Large or TooLarge) on a sheet of `lines` texts
    // already counted: read from a file of `bytes` bytes, or 0 for texts
    // that come from elsewhere (a workbook, the sheet regrouped).
    static Result forLines(qint64 lines, int labelsPerBarette, int barettesPerPage, qint64 bytes = 0,
                           qint64 memoryLimit = 0, Holding holding = Holding::Sheet);

    // Estimated memory of a sheet with `barettes` barettes read from `bytes` bytes.
    static qint64 memoryFor(qint64 barettes, int labelsPerBarette, qint64 bytes, Holding holding = Holding::Sheet);
    // Estimated memory of one field beyond the file's bytes. A sheet read
    // from a descriptions file keeps its bytes and a few bytes a field (the
    // 118 MB file of 1,000,000 barettes of 8 labels: 170 MiB in the window,
    // 155 MiB at the peak of lamello-batch), but texts from a workbook are a
    // string each: its slot, header, UTF-16 and the allocator's share. The
    // window also keeps the count of fields that do not fit and the page shown.
    static constexpr qint64 bytesPerPrintedField = 96;
    static constexpr qint64 bytesPerShownField = 128;

    // The machine's physical memory, or the process's address-space limit when
    // that is smaller.
    static qint64 memoryLimit();

    // The question for a Large file: "Plik zawiera N baretek (M stron). Wczytać?"
    // `pasted`: the cells on the clipboard ("Schowek zawiera…").
    static QString question(const Result &result, bool pasted = false);
    // "1 baretkę", "2 baretki", "5 baretek": the barettes a file holds (accusative).
    static QString baretteCount(qint64 count);
    // "1 strona", "2 strony", "5 stron".
    static QString pageCount(qint64 count);
    // The message for a refused file (NotRegular, NotText, TooLarge), naming it.
    static QString refusal(const Result &result, const QString &path);

    // Whether `path` is a symbolic link that leads, through others, back to
    // itself: a file that is neither missing nor readable.
    static bool isLinkLoop(const QString &path);
    // Why a file there could not be read, naming it: a loop of links is said
    // as one.
    static QString unreadable(const QString &path);

    // Opens `path` read-only if it is a regular file, without ever blocking on
    // a FIFO or a device. Returns Ok, NotRegular, Missing or Unreadable.
    static Verdict openRegular(const QString &path, QFile &file);
};
