#pragma once

#include <QFont>
#include <QString>

// What a field carries in a drag: the plain text "text;;size;;bold;;italic;;underline"
// (pixel size as the font reports it, -1 for a font sized in points; the
// three decorations as 1 or 0). The format has no escaping, so it is read
// from the right: the last four parts are the font and everything before
// them, ";;" included, is the text.
//
// Text that is not in this format (dragged from another program) is the
// text alone, and the field keeps its own font.
struct FieldTransfer
{
    QString text;
    bool carriesFont = false;
    int pixelSize = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    // The largest pixel size a drop takes; a larger one (or none) keeps the
    // size of the field dropped on.
    static constexpr int maxPixelSize = 999;

    static QString write(const QString &text, const QFont &font);
    static FieldTransfer read(const QString &transfer);

    // The font a field takes from this transfer: a plain font with the
    // carried size and decorations, and `target`'s size where none usable
    // was carried.
    QFont font(const QFont &target) const;
};
