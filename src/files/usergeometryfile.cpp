#include "files/usergeometryfile.h"

#include "files/atomicfile.h"
#include "files/descriptionscheck.h"
#include "files/windows1250.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cmath>

namespace {

const QString separator = QStringLiteral(";;");
constexpr int fieldCount = 6;

// Calls `visit(text, whole)` for every line of `bytes`: `whole` is the line
// with its LF (if it has one), `text` the part that counts, up to the LF or
// the first NUL.
template<typename Visit>
void forEachLine(QByteArrayView bytes, Visit visit)
{
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', pos);
        const qsizetype end = lf < 0 ? bytes.size() : lf + 1;
        QByteArrayView text = bytes.sliced(pos, (lf < 0 ? bytes.size() : lf) - pos);
        if (const qsizetype nul = text.indexOf('\0'); nul >= 0)
            text.truncate(nul);
        visit(text, bytes.sliced(pos, end - pos));
        pos = end;
    }
}

// The fields of a line's text, or an empty list when it has too few.
QStringList fieldsOf(QByteArrayView text)
{
    QStringList fields = Windows1250::decode(text).split(separator);
    if (fields.size() < fieldCount)
        fields.clear();
    return fields;
}

double length(const QString &field)
{
    bool ok = false;
    const double value = field.trimmed().toDouble(&ok);   // always "." whatever the locale
    return ok && std::isfinite(value) ? value : 0.0;
}

int count(const QString &field)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

QList<GeometryPreset> UserGeometryFile::parse(QByteArrayView bytes)
{
    QList<GeometryPreset> presets;
    forEachLine(bytes, [&presets](QByteArrayView text, QByteArrayView) {
        const QStringList f = fieldsOf(text);
        if (f.isEmpty())
            return;
        presets.append({f.at(0), QRectF(0, 0, length(f.at(3)), length(f.at(4))),
                        QRectF(0, 0, length(f.at(1)), length(f.at(2))), count(f.at(5))});
    });
    return presets;
}

QString UserGeometryFile::formatNumber(double value)
{
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");   // never "-0"
    return QString::number(value, 'g', 6);   // "." whatever the locale
}

QString UserGeometryFile::nameProblem(const QString &name)
{
    if (name.contains(separator))
        return tr("Nazwa nie może zawierać znaków „;;”, które w pliku ustawień oddzielają pola.");
    if (name.endsWith(QLatin1Char(';')))
        return tr("Nazwa nie może kończyć się znakiem „;”, bo w pliku ustawień po nazwie następuje „;;”.");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return tr("Nazwa nie może zawierać znaków sterujących (np. końca wiersza).");
    }
    qsizetype bad = -1;
    QByteArray ignored;
    if (!Windows1250::encode(name, ignored, &bad)) {
        const char32_t c = Windows1250::characterAt(name, bad);
        const QString ch = QString::fromUcs4(&c, 1);
        return tr("Znaku „%1” nie można zapisać w pliku ustawień (kodowanie Windows-1250). "
                  "Proszę użyć innej nazwy.").arg(ch);
    }
    return QString();
}

bool UserGeometryFile::formatLine(const GeometryPreset &preset, QByteArray &line, QString *error)
{
    if (const QString problem = nameProblem(preset.presetName); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    const QString text = preset.presetName + separator + formatNumber(preset.headerRect.width()) + separator
                         + formatNumber(preset.headerRect.height()) + separator
                         + formatNumber(preset.labelRect.width()) + separator
                         + formatNumber(preset.labelRect.height()) + separator
                         + QString::number(preset.labelsPerBarette) + QLatin1Char('\n');
    return Windows1250::encode(text, line);   // the name was checked above
}

QByteArray UserGeometryFile::rewrite(QByteArrayView bytes, const QString &name, const QByteArray *replacement,
                                     int *matched)
{
    QByteArray out;
    out.reserve(bytes.size() + (replacement ? replacement->size() : 0));
    int hits = 0;
    forEachLine(bytes, [&](QByteArrayView text, QByteArrayView whole) {
        const QStringList f = fieldsOf(text);
        if (f.isEmpty() || f.at(0) != name) {
            out += whole;
            return;
        }
        ++hits;
        if (replacement)
            out += *replacement;
    });
    if (matched)
        *matched = hits;
    return out;
}

UserGeometryFile::Load UserGeometryFile::load(QByteArray &bytes, QString *error) const
{
    auto fail = [this, error](const QString &reason) {
        if (error)
            *error = tr("Nie można odczytać pliku %1: %2").arg(filePath, reason);
        return Load::Failed;
    };
    bytes.clear();
    // A folder, a pipe or a device under the file's name: reading could block
    // or mean nothing. A link to nothing is not a missing file either: a save
    // would replace the link.
    QFile file;
    switch (DescriptionsCheck::openRegular(filePath, file)) {
    case DescriptionsCheck::Verdict::Ok:
        break;
    case DescriptionsCheck::Verdict::Missing:
        if (!QFileInfo(filePath).isSymLink())
            return Load::Missing;
        return fail(tr("to nie jest zwykły plik."));
    case DescriptionsCheck::Verdict::NotRegular:
        return fail(tr("to nie jest zwykły plik."));
    default:
        return fail(qt_error_string(errno));   // as the failed look at the path left it
    }
    if (file.size() > maxSize)
        return fail(tr("plik jest za duży (ponad %1 kB).").arg(maxSize / 1024));
    bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (bytes.size() > maxSize)
        return fail(tr("plik jest za duży (ponad %1 kB).").arg(maxSize / 1024));
    return Load::Ok;
}

bool UserGeometryFile::store(const QByteArray &bytes, QString *error) const
{
    // A file the reader would refuse loses every preset at the next start.
    if (bytes.size() > maxSize) {
        if (error)
            *error = tr("Nie można zapisać pliku %1: byłby większy niż %2 kB, a większego program nie odczyta.")
                         .arg(filePath)
                         .arg(maxSize / 1024);
        return false;
    }
    QString reason;
    if (AtomicFile::write(filePath, bytes, &reason))
        return true;
    if (error)
        *error = tr("Nie można zapisać pliku %1: %2").arg(filePath, reason);
    return false;
}

bool UserGeometryFile::read(QList<GeometryPreset> &presets, QString *error) const
{
    presets.clear();
    QByteArray bytes;
    if (load(bytes, error) == Load::Failed)
        return false;
    presets = parse(bytes);
    return true;
}

bool UserGeometryFile::append(const GeometryPreset &preset, QString *error) const
{
    QByteArray line;
    QByteArray bytes;
    if (!formatLine(preset, line, error) || load(bytes, error) == Load::Failed)
        return false;
    // A last line without its LF stays a line of its own.
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    return store(bytes + line, error);
}

bool UserGeometryFile::replace(const GeometryPreset &preset, QString *error) const
{
    QByteArray line;
    QByteArray bytes;
    if (!formatLine(preset, line, error) || load(bytes, error) == Load::Failed)
        return false;
    int matched = 0;
    QByteArray out = rewrite(bytes, preset.presetName, &line, &matched);
    if (matched == 0) {
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += '\n';
        out += line;
    }
    return store(out, error);
}

bool UserGeometryFile::remove(const QString &name, QString *error) const
{
    QByteArray bytes;
    const Load loaded = load(bytes, error);
    if (loaded == Load::Failed)
        return false;
    int matched = 0;
    const QByteArray out = rewrite(bytes, name, nullptr, &matched);
    if (matched == 0)
        return true;   // nothing to take out: the file stays as it is
    return store(out, error);
}
