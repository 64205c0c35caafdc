#pragma once

#include "files/descriptionsfile.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <utility>
#include <vector>

// The texts of a sheet by field id.
//
// Read from a descriptions file, they stay that file's bytes: a sheet of a
// million barettes is a hundred-odd megabytes of text, and nine million
// strings would cost three times as much to make, hold and free. A text is
// decoded each time it is asked for (DescriptionsFile::lineText), and what is written into a field is held apart, by id, until it is
// set back to what the file says.
//
// Made from a list (a workbook, pasted cells, the editor's texts, tests),
// they are packed into one string of UTF-16 units, every character the list
// held, with where each text starts: a string per field would cost three to
// four times as much. What is written into a field is held apart by id, as
// over a file, until a large change packs the texts anew (repack()).
class SheetTexts
{
public:
    SheetTexts() = default;
    // Implicit, so that a list of texts is a sheet's texts wherever one is asked for.
    SheetTexts(const QStringList &texts);
    SheetTexts(std::initializer_list<QString> texts) : SheetTexts(QStringList(texts)) {}

    // The lines of a descriptions file, kept as `bytes`; `used` is the encoding found.
    static SheetTexts fromFile(QByteArray bytes, DescriptionsFile::Encoding *used = nullptr);
    // DescriptionsFile::readLines() into compact texts; on any status but Ok
    // `texts` is left empty.
    static DescriptionsFile::ReadStatus read(const QString &path, SheetTexts &texts,
                                             DescriptionsFile::Encoding *used = nullptr,
                                             const std::atomic<bool> *cancelled = nullptr);
    // The same from the file `look` opened (files/filelook.h).
    static DescriptionsFile::ReadStatus read(FileLook &look, SheetTexts &texts,
                                             DescriptionsFile::Encoding *used = nullptr,
                                             const std::atomic<bool> *cancelled = nullptr);

    qsizetype size() const { return count; }
    bool isEmpty() const { return count == 0; }
    // Whether the texts are a file's bytes rather than a list of strings.
    bool isCompact() const { return compact; }
    // Texts written over the file's or the packed ones.
    qsizetype editCount() const { return edits.size(); }

    // The text of field `id`; an empty one past the end.
    QString at(qsizetype id) const;
    // Field `id` holds `text` from now on; past the end the texts grow to it.
    void set(qsizetype id, const QString &text);

    QStringList toList() const;
    // Whether the texts are `other`'s, empty texts at the end of either aside.
    bool sameTexts(const QStringList &other) const;
    // Packed texts with edits are packed anew with them, the edits
    // dropped (the texts stay the same). Stops, leaving them as they were,
    // once `cancelled` is set. Nothing for a file's texts.
    void repack(const std::atomic<bool> *cancelled = nullptr) { repack({}, cancelled); }
    // The same with `written` (field id and its new text, viewed only during
    // the call; of two for one field the later) packed in as well: many
    // changes at once, without an edit each on the way.
    void repack(std::vector<std::pair<qsizetype, QStringView>> written, const std::atomic<bool> *cancelled = nullptr);

    // The ids of the fields whose text holds `query` (or is `query`, with
    // `wholeField`), in order. A line break in a text is "\n" here, as at().
    // A file's texts are searched in its bytes where the query has a
    // Windows-1250 form, without decoding a text; the edits apart.
    // (sheettextsearch.cpp)
    //
    // From field `from` on only, and at most `most` of them (all when
    // negative); stops early, with what it found so far, once `cancelled` is
    // set (a search beside the window that a new one replaces). Safe on any
    // thread on a copy of the texts.
    std::vector<qsizetype> find(const QString &query, Qt::CaseSensitivity cs, bool wholeField,
                                const std::atomic<bool> *cancelled = nullptr, qsizetype from = 0,
                                qsizetype most = -1) const;
    // The first field at or after `from` that find() gives, else the first
    // before it (going round the sheet); -1 when none does.
    qsizetype findFirst(const QString &query, Qt::CaseSensitivity cs, bool wholeField, qsizetype from,
                        const std::atomic<bool> *cancelled = nullptr) const;
    // Lists of twice this many texts and more are searched in two halves at once.
    static constexpr qsizetype parallelFrom = 500'000;
    // The file's bytes and what is written over them by id (compact texts only).
    const QByteArray &fileBytes() const { return bytes; }
    const QHash<qsizetype, QString> &editedTexts() const { return edits; }

private:
    std::vector<qsizetype> findInBytes(const QByteArray &query, bool fold, bool wholeField, qsizetype fromLine,
                                       qsizetype most, const std::atomic<bool> *cancelled) const;
    std::vector<qsizetype> findInList(const QString &query, Qt::CaseSensitivity cs, bool wholeField,
                                      const std::atomic<bool> *cancelled, qsizetype from, qsizetype end,
                                      qsizetype most = -1) const;
    // Where line `line` of the file starts in its bytes.
    qsizetype lineStart(qsizetype line) const;

    QString fileText(qsizetype id) const;
    // Text `id` (< baseCount) as packed.
    QStringView packedText(qsizetype id) const
    {
        return QStringView(packed).mid(starts.at(id), starts.at(id + 1) - starts.at(id));
    }

    static constexpr int blockBits = 4;   // a line start is kept for every 16th line

    qsizetype count = 0;

    QString packed;                      // the texts of a list, one after another
    QList<qsizetype> starts;             // where each starts in `packed`, and its end last

    bool compact = false;
    QByteArray bytes;                    // the file, its byte-order mark dropped
    std::vector<qsizetype> blockStarts;  // where line k << blockBits starts
    qsizetype fileLines = 0;             // the file's lines, or the texts packed
    bool utf8 = false;
    bool hasAt = false;
    bool hasNul = false;
    QHash<qsizetype, QString> edits;     // by id, also past fileLines (both kinds)
};
