#pragma once

#include "files/descriptionscheck.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <optional>

// One look at a file chosen to be read, taken before anything reads it: what
// it is, how large, and its first bytes. The command that opens a file takes
// it once and decides by it which reader follows (a project by its first
// record, an old Excel file by its first eight bytes, a workbook by its name,
// else a descriptions file); the check before the read and the read itself
// then take the file this look opened. So the path is opened once, and what
// was looked at is what is read, even when the path is replaced meanwhile.
class FileLook
{
public:
    // The bytes kept of the file's start: a project's first record, an old
    // Excel file's signature and the delimiter guess of a text all fit.
    static constexpr qint64 headBytes = 64 * 1024;

    // Looks at `path`: a regular file is opened read-only (never blocking on a
    // FIFO or a device, see DescriptionsCheck::openRegular()) and its first
    // bytes are read.
    static FileLook at(const QString &path);

    // What says that a file is the same: its size and the time it last
    // changed.
    struct Stamp
    {
        qint64 size = 0;
        qint64 seconds = 0;
        qint64 nanoseconds = 0;
        bool operator==(const Stamp &) const = default;
    };
    // The stamp of the open file `fd`; none when it cannot be looked at.
    static std::optional<Stamp> stampOf(int fd);

    QString path;
    // Ok (opened), NotRegular, Missing or Unreadable.
    DescriptionsCheck::Verdict verdict = DescriptionsCheck::Verdict::Missing;
    int error = 0;      // the errno of a look that found no regular file to open
    qint64 size = 0;    // bytes, when opened
    std::optional<Stamp> stamp;   // when opened, before any byte was read
    QByteArray head;    // the first headBytes bytes, or the whole of a shorter file

    bool opened() const { return verdict == DescriptionsCheck::Verdict::Ok; }
    // The file opened, back at its start, for the reader that follows (a ZIP
    // reader closes it: one read a look). Only when opened().
    QFile &rewound();

private:
    std::unique_ptr<QFile> file;
};
