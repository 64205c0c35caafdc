#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The descriptions file: the plain text from which every text on the sheet comes.
//
//   file    := line*            Windows-1250, no byte-order mark, no header
//   line    := byte* LF | byte* EOF
//
// - LF (0x0A) ends a line and is not part of the text; a CR before it is kept.
// - A NUL byte ends the text of its line; the bytes after it up to the LF are dropped.
// - No trimming: spaces belong to the text, an empty line is an empty text.
// - Lines are positional: with n labels per barette every n + 1 lines form one
//   group, header text first. A group that starts before the end of the file
//   is completed with empty texts.
// - Inside a field a line break is LF; the file holds it as "@". Reading keeps
//   "@" as it stands.
class DescriptionsFile
{
public:
    enum class ReadStatus { Ok, NoPath, Missing, OpenFailed };

    // Groups `bytes` into barettes of `labelsPerBarette` + 1 texts.
    static QList<QStringList> parse(QByteArrayView bytes, int labelsPerBarette);

    // Reads the file at `path`. On any status but Ok, `groups` is left empty.
    static ReadStatus read(const QString &path, int labelsPerBarette, QList<QStringList> &groups);

    // The bytes of a descriptions file holding `fieldTexts`, one per line, line
    // breaks written as "@". Returns false when a text holds a character that
    // Windows-1250 cannot represent; `badField` and `badChar` then name it.
    static bool serialize(const QStringList &fieldTexts, QByteArray &out,
                          qsizetype *badField = nullptr, QChar *badChar = nullptr);
};
