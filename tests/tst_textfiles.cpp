// The byte rules of the descriptions file and the Windows-1250 module behind it.

#include "files/atomicfile.h"
#include "files/descriptionscheck.h"
#include "files/descriptionsfile.h"
#include "files/filelook.h"
#include "files/sheettexts.h"
#include "files/windows1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// The atomic writer's last step renames the new file over the old one. While
// failedRenames is above 0, rename() fails as it does on a broken or
// read-only file system; this definition takes the place of the C library's
// for Qt's own calls too.
static int failedRenames = 0;
// A rename onto a file of this name fails too.
static QString failingTarget;
// What has been made to last, in order: "rename NAME" for a file renamed
// into place, "sync FOLDER" for a folder synced, "sync NAME" for a file
// synced (a staged file's random token shown as "*": ".p.dat.save-*").
static QStringList lasting;

static void recordSync(int fd)
{
    struct stat st{};
    if (::fstat(fd, &st) != 0)
        return;
    const QString path = QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).symLinkTarget();
    if (S_ISDIR(st.st_mode)) {
        lasting.append(QStringLiteral("sync ") + path);
    } else if (S_ISREG(st.st_mode)) {
        static const QRegularExpression token(QStringLiteral("\\.save-\\w+$"));
        lasting.append(QStringLiteral("sync ") + QFileInfo(path).fileName().replace(token, QStringLiteral(".save-*")));
    }
}

extern "C" int rename(const char *from, const char *to) noexcept
{
    const bool failing = !failingTarget.isEmpty() && QFileInfo(QFile::decodeName(to)).fileName() == failingTarget;
    if (failedRenames > 0 || failing) {
        failedRenames = qMax(0, failedRenames - 1);
        errno = EIO;
        return -1;
    }
    using Rename = int (*)(const char *, const char *);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    const int done = real(from, to);
    if (done == 0)
        lasting.append(QStringLiteral("rename ") + QFileInfo(QFile::decodeName(to)).fileName());
    return done;
}

extern "C" int fsync(int fd)
{
    recordSync(fd);
    using Fsync = int (*)(int);
    static const auto real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

// Qt's QSaveFile syncs its data only.
extern "C" int fdatasync(int fd)
{
    recordSync(fd);
    using Fsync = int (*)(int);
    static const auto real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fdatasync"));
    return real(fd);
}

// While it names a file, the next open() of that file finds a FIFO in its
// place: the file swapped after a look at its path, before it is opened.
static QByteArray swapOnOpen;

extern "C" int open(const char *path, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    if (!swapOnOpen.isEmpty() && swapOnOpen == path) {
        swapOnOpen.clear();
        ::unlink(path);
        ::mkfifo(path, 0600);
    }
    using Open = int (*)(const char *, int, ...);
    static const auto real = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open"));
    return real(path, flags, mode);
}

using Groups = QList<QStringList>;
Q_DECLARE_METATYPE(Groups)
Q_DECLARE_METATYPE(DescriptionsCheck::Verdict)

namespace {
QStringList group(const QString &header, const QStringList &labels, int n)
{
    QStringList g{header};
    g += labels;
    while (g.size() < n + 1)
        g.append(QString());
    return g;
}

QStringList empties(int n)
{
    return QStringList(n + 1, QString());
}
} // namespace

class TestTextFiles : public QObject
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Windows1250::decode(all);
        QCOMPARE(text.size(), 256);
        QByteArray back;
        QVERIFY(Windows1250::encode(text, back));
        QCOMPARE(back, all);
    }

    void polishLettersUseTheirCodePoints()
    {
        const QString letters = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ€„”");
        QByteArray bytes;
        QVERIFY(Windows1250::encode(letters, bytes));
        QCOMPARE(bytes, QByteArray("\xb9\xe6\xea\xb3\xf1\xf3\x9c\x9f\xbf\xa5\xc6\xca\xa3\xd1\xd3\x8c\x8f\xaf\x80\x84\x94"));
        QCOMPARE(Windows1250::decode(bytes), letters);
        // The bytes the code page leaves undefined come back as themselves.
        QCOMPARE(Windows1250::decode("\x81\x98").at(1).unicode(), char16_t(0x98));
    }

    void charactersOutsideTheCodePageAreRefused()
    {
        QByteArray out("untouched");
        qsizetype bad = -1;
        QVERIFY(!Windows1250::encode(QStringLiteral("Moc → 5 kW"), out, &bad));
        QCOMPARE(bad, 4);
        QCOMPARE(out, QByteArray("untouched"));
        QVERIFY(!Windows1250::canEncode(QStringLiteral("日本")));
        QVERIFY(!Windows1250::canEncode(QStringLiteral("emoji 😀")));   // a surrogate pair
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("n");
        QTest::addColumn<Groups>("expected");

        const int n = 5;
        QTest::newRow("two full groups") << QByteArray("h1\na\nb\nc\nd\ne\nh2\nf\ng\nh\ni\nj\n") << n
                                         << Groups{{"h1", "a", "b", "c", "d", "e"}, {"h2", "f", "g", "h", "i", "j"}};
        QTest::newRow("n + 2 lines complete the second group")
            << QByteArray("h1\na\nb\nc\nd\ne\nh2\n") << n
            << Groups{{"h1", "a", "b", "c", "d", "e"}, group("h2", {}, n)};
        QTest::newRow("a trailing empty line is one more barette")
            << QByteArray("h1\na\nb\nc\nd\ne\n\n") << n << Groups{{"h1", "a", "b", "c", "d", "e"}, empties(n)};
        QTest::newRow("empty file") << QByteArray() << n << Groups{};
        QTest::newRow("last line without LF is kept whole")
            << QByteArray("Pompa  ") << n << Groups{group("Pompa  ", {}, n)};
        QTest::newRow("CR before LF stays in the text")
            << QByteArray("Start\r\nStop\r\n") << n << Groups{group("Start\r", {"Stop\r"}, n)};
        QTest::newRow("lone CR does not end a line")
            << QByteArray("a\rb\n") << n << Groups{group("a\rb", {}, n)};
        QTest::newRow("NUL ends the text of its line only")
            << QByteArray("ab\0cd\nnext\n", 11) << n << Groups{group("ab", {"next"}, n)};
        QTest::newRow("spaces are kept, @ is a line break")
            << QByteArray("  a@b  \n@\n") << n << Groups{group("  a\nb  ", {"\n"}, n)};
        QTest::newRow("Windows-1250 letters")
            << QByteArray("\xa3\xb9\x9c\xbf\x9f\n") << n << Groups{group(QStringLiteral("Łąśżź"), {}, n)};
        QTest::newRow("UTF-8 after a byte-order mark, @ and NUL")
            << QByteArray("\xef\xbb\xbf\xc5\x81\xc3\xb3" "d\xc5\xba@2\n\0x\n", 16) << n
            << Groups{group(QStringLiteral("Łódź\n2"), {""}, n)};
        QTest::newRow("an empty line inside a group")
            << QByteArray("h\n\nx\n") << 8 << Groups{group("h", {"", "x"}, 8)};
    }

    void parse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, n);
        QFETCH(Groups, expected);
        const Groups groups = DescriptionsFile::parse(bytes, n);
        QCOMPARE(groups, expected);
        for (const QStringList &g : groups)
            QCOMPARE(g.size(), n + 1);
        // The window keeps the file's bytes and decodes a line when asked.
        QCOMPARE(SheetTexts::fromFile(bytes).toList(), DescriptionsFile::parseLines(bytes));
    }

    void encodingIsDetected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<QString>("firstText");

        const QString polish = QStringLiteral("Zażółć gęślą jaźń ŻÓŁW");
        QTest::newRow("Polish UTF-8") << polish.toUtf8() + "\n" << true << polish;
        QTest::newRow("UTF-8 with a byte-order mark")
            << "\xEF\xBB\xBF" + QStringLiteral("Łódź@Ω ≥ 5 kW").toUtf8() << true << QStringLiteral("Łódź\nΩ ≥ 5 kW");
        // The mark alone says UTF-8, and it is no part of field 0.
        QTest::newRow("a byte-order mark before ASCII")
            << QByteArray("\xEF\xBB\xBFPompa\nPraca\n") << true << QStringLiteral("Pompa");
        QTest::newRow("a byte-order mark before Windows-1250 letters")
            << QByteArray("\xEF\xBB\xBF\xA3\xB9ka\n") << false << QStringLiteral("Łąka");
        QTest::newRow("UTF-8 in the last line only")
            << QByteArray(200, 'x') + "\n" + QStringLiteral("°C").toUtf8() << true << QString(200, u'x');
        QTest::newRow("pure ASCII") << QByteArray("Pompa #1\r\n") << false << QStringLiteral("Pompa #1\r");
        // Windows-1250 words whose bytes are valid UTF-8 as they stand:
        // ÓŁ is D3 A3, ĘŁ is CA A3.
        for (const char *word : {"P\xd3\xa3KA", "D\xd3\xa3", "WZI\xca\xa3" "A", "KO\xd1\x8c" "CZ",
                                 "Za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1"}) {
            const QByteArray bytes(word);
            QTest::newRow(("Windows-1250 " + bytes.toHex()).constData())
                << bytes << false << Windows1250::decode(bytes);
        }
        QTest::newRow("lone continuation byte") << QByteArray("\xc5\xbc\xbf") << false << QStringLiteral("ĹĽż");
        QTest::newRow("sequence cut by the end") << QByteArray("ab\xc5") << false << QStringLiteral("abĹ");
        QTest::newRow("overlong form") << QByteArray("\xc1\x81") << false << Windows1250::decode("\xc1\x81");
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << false << Windows1250::decode("\xed\xa0\x80");
        QTest::newRow("Cyrillic UTF-8 is not taken for UTF-8")
            << QStringLiteral("Пуск").toUtf8() << false << Windows1250::decode(QStringLiteral("Пуск").toUtf8());
    }

    void encodingIsDetected()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QFETCH(QString, firstText);
        DescriptionsFile::Encoding used{};
        const Groups groups = DescriptionsFile::parse(bytes, 5, &used);
        QCOMPARE(used == DescriptionsFile::Encoding::Utf8, utf8);
        QCOMPARE(groups.value(0).value(0), firstText);
        QCOMPARE(DescriptionsFile::decode(bytes).section(u'\n', 0, 0).replace(u'@', u'\n'), firstText);
        // Found as a whole field where it was read.
        const std::vector<qsizetype> found = SheetTexts::fromFile(bytes).find(firstText, Qt::CaseSensitive, true);
        QVERIFY(!found.empty() && found.front() == 0);
    }

    void polishWindows1250IsNeverTakenForUtf8()
    {
        // Every sequence of up to four of the Polish letters, with ASCII and
        // the Windows-1250 quotes and dash among them, as one file each.
        const QByteArray alphabet("\xb9\xe6\xea\xb3\xf1\xf3\x9c\x9f\xbf\xa5\xc6\xca\xa3\xd1\xd3\x8c\x8f\xaf"
                                  "a \x84\x94\x96");
        const qsizetype k = alphabet.size();
        QByteArray word;
        for (int length = 1; length <= 4; ++length) {
            word.resize(length);
            qsizetype combinations = 1;
            for (int i = 0; i < length; ++i)
                combinations *= k;
            for (qsizetype c = 0; c < combinations; ++c) {
                qsizetype rest = c;
                for (int i = 0; i < length; ++i, rest /= k)
                    word[i] = alphabet.at(rest % k);
                if (DescriptionsFile::detectEncoding(word) != DescriptionsFile::Encoding::Windows1250)
                    QFAIL(qPrintable("taken for UTF-8: " + word.toHex(' ')));
            }
        }
    }

    void manyLinesAgreeWithAPlainLineByLineReading()
    {
        // Equal lines share strings inside the reader; lines that differ in a
        // single byte anywhere (start, middle, end) must never be taken for
        // one another. Compare with the plainest possible reading.
        QByteArray bytes;
        quint32 seed = 12345;
        // The low bits of this generator repeat with short periods (the lowest
        // simply alternates): choices take the high bits.
        auto pick = [&seed](quint32 range) {
            seed = seed * 1664525u + 1013904223u;
            return int((seed >> 16) % range);
        };
        const QByteArray base("Temperatura zasilania wody w obiegu pierwotnym kotla, zwloka");
        const char replacements[] = {'a', 'A', '\xb9', '\xa5', '#', '\0'};
        for (int i = 0; i < 20000; ++i) {
            QByteArray line = base.left(pick(70));
            if (!line.isEmpty() && pick(2))
                line[pick(quint32(line.size()))] = replacements[pick(6)];
            bytes += line + (pick(10) == 0 ? "\r\n" : "\n");
        }
        QVERIFY(bytes.count('\0') > 1000);   // NUL bytes on many lines, far apart
        QStringDecoder decoder("windows-1250");
        QStringList plain;
        for (const QByteArray &line : bytes.split('\n')) {
            const qsizetype nul = line.indexOf('\0');
            plain.append(decoder.decode(nul < 0 ? line : line.left(nul)));
        }
        plain.removeLast();   // after the last LF there is no line

        const Groups groups = DescriptionsFile::parse(bytes, 5);
        QStringList read;
        for (const QStringList &g : groups)
            read += g;
        while (read.size() > plain.size() && read.last().isEmpty())
            read.removeLast();
        QCOMPARE(read.size(), plain.size());
        const SheetTexts compact = SheetTexts::fromFile(bytes);
        QCOMPARE(compact.size(), plain.size());
        for (qsizetype i = 0; i < plain.size(); ++i) {
            QCOMPARE(read.at(i), plain.at(i));
            QCOMPARE(compact.at(i), plain.at(i));
        }
    }

    // Texts kept as the file's bytes, written over, grown past the file's end
    // and set back, read as a plain list of the same texts does.
    void editsOverTheFileAgreeWithAList()
    {
        QByteArray bytes;
        for (int i = 0; i < 100; ++i)
            bytes += (i % 7 ? "L" + QByteArray::number(i) : QByteArray()) + (i % 5 ? "\n" : "@x\r\n");
        SheetTexts compact = SheetTexts::fromFile(bytes);
        QStringList plain = DescriptionsFile::parseLines(bytes);
        const QStringList original = plain;
        QSet<qsizetype> pastTheEnd;
        quint32 seed = 7;
        for (int step = 0; step < 400; ++step) {
            seed = seed * 1664525u + 1013904223u;
            const qsizetype id = (seed >> 16) % 130;
            // Half the writes put the file's own text back.
            const QString text = (seed >> 8) % 2 && id < original.size() ? original.at(id)
                                                                          : QStringLiteral("E%1").arg(step);
            compact.set(id, text);
            if (id >= original.size())
                pastTheEnd.insert(id);
            if (id >= plain.size())
                plain.resize(id + 1);
            plain[id] = text;
        }
        QCOMPARE(compact.toList(), plain);
        qsizetype differing = 0;
        for (qsizetype id = 0; id < original.size(); ++id)
            differing += plain.at(id) != original.at(id);
        QCOMPARE(compact.editCount(), differing + pastTheEnd.size());
    }

    // Find over a file's texts (searched in its bytes) and over the same
    // texts as a list (decoded) gives the fields a reader sees holding the
    // query: line breaks, case, whole fields, a NUL's end, the edits.
    void findMatchesTheTextsAsRead_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeField");
        QTest::addColumn<QList<qsizetype>>("expected");
        QTest::newRow("either case") << "pompa p3" << false << false << QList<qsizetype>{0, 1, 2, 7, 9};
        QTest::newRow("its case") << "Pompa P3" << true << false << QList<qsizetype>{0, 2, 7};
        QTest::newRow("whole field") << "pompa p3" << false << true << QList<qsizetype>{0, 7, 9};
        QTest::newRow("Polish letters, either case") << "łódź" << false << false << QList<qsizetype>{3, 4};
        QTest::newRow("Polish letters, its case") << "ŁÓDŹ" << true << false << QList<qsizetype>{3};
        QTest::newRow("a carriage return is text") << "ŁÓDŹ" << false << true << QList<qsizetype>{3};
        QTest::newRow("a line break") << "awaria\npompa" << false << false << QList<qsizetype>{2};
        QTest::newRow("an @ is not a line break here") << "awaria@pompa" << false << false << QList<qsizetype>{};
        QTest::newRow("a line break is not a space") << "awaria pompa" << false << false << QList<qsizetype>{};
        QTest::newRow("a NUL ends the text") << "x" << true << true << QList<qsizetype>{5};
        QTest::newRow("an edit over the file's text") << "Pompa" << true << true << QList<qsizetype>{};
        QTest::newRow("an edit's own text") << "alarm" << false << false << QList<qsizetype>{6};
        QTest::newRow("not in Windows-1250") << "\U0001F600" << false << false << QList<qsizetype>{};
        QTest::newRow("an edit outside Windows-1250, either case") << "ω" << false << false << QList<qsizetype>{8};
        QTest::newRow("an edit outside Windows-1250, whole") << "ΩωŁ\U0001F527" << true << true << QList<qsizetype>{8};
    }

    void findMatchesTheTextsAsRead()
    {
        QFETCH(QString, query);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeField);
        QFETCH(QList<qsizetype>, expected);
        const QByteArray bytes("Pompa P3\n"
                               "pompa p3 zapas\n"
                               "Awaria@Pompa P3\n"
                               "\xa3\xd3" "D\x8f\n"       // ŁÓDŹ
                               "\xb3\xf3" "d\x9f\r\n"    // łódź
                               "x\0Pompa P3\n"
                               "Pompa\n"
                               "Q0.0\n",
                               73);
        SheetTexts compact = SheetTexts::fromFile(bytes);
        QCOMPARE(compact.at(7), QStringLiteral("Q0.0"));   // the bytes above are all there
        compact.set(6, QStringLiteral("Alarm"));
        compact.set(7, QStringLiteral("Pompa P3"));
        compact.set(9, QStringLiteral("pompa p3"));
        compact.set(8, QStringLiteral("ΩωŁ\U0001F527"));
        const SheetTexts list(compact.toList());
        // The file's texts packed from a list, the same edits written over
        // them (one of them past the last text), then packed anew with them.
        QStringList read = SheetTexts::fromFile(bytes).toList();
        SheetTexts edited(read);
        for (const qsizetype id : {6, 7, 9, 8})
            edited.set(id, compact.at(id));
        edited.set(0, QStringLiteral("x"));
        edited.set(0, read.at(0));   // its own text again: no edit
        QCOMPARE(edited.editCount(), 4);
        SheetTexts repacked = edited;
        repacked.repack();
        QCOMPARE(repacked.editCount(), 0);
        QCOMPARE(edited.toList(), compact.toList());
        QCOMPARE(repacked.toList(), compact.toList());
        QVERIFY(repacked.sameTexts(compact.toList() + QStringList{QString(), QString()}));
        QVERIFY(!repacked.sameTexts(compact.toList().mid(0, 9)));
        // Many written at once straight into a new packing, over an edit,
        // one field twice (the later counts), past the last text.
        const QStringList want = compact.toList();
        const QString stale = QStringLiteral("stale");
        SheetTexts rewritten(read);
        rewritten.set(6, QStringLiteral("zz"));
        rewritten.repack({{9, want.at(9)}, {7, stale}, {6, want.at(6)}, {8, want.at(8)}, {7, want.at(7)}});
        QCOMPARE(rewritten.editCount(), 0);
        QCOMPARE(rewritten.toList(), want);
        repacked.set(9, QStringLiteral("Pompa"));   // written after the packing
        QCOMPARE(repacked.at(9), QStringLiteral("Pompa"));
        repacked.set(9, QStringLiteral("pompa p3"));
        QCOMPARE(repacked.editCount(), 0);
        const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        const std::vector<qsizetype> inBytes = compact.find(query, cs, wholeField);
        const std::vector<qsizetype> decoded = list.find(query, cs, wholeField);
        QCOMPARE(QList<qsizetype>(inBytes.begin(), inBytes.end()), expected);
        QCOMPARE(QList<qsizetype>(decoded.begin(), decoded.end()), expected);
        for (const SheetTexts *packed : {&edited, &repacked, &rewritten}) {
            const std::vector<qsizetype> inPacked = packed->find(query, cs, wholeField);
            QCOMPARE(QList<qsizetype>(inPacked.begin(), inPacked.end()), expected);
        }
        // From any field on, two at most; the first going round the sheet.
        for (qsizetype from = 0; from <= 10; ++from) {
            const qsizetype skipped = std::lower_bound(expected.cbegin(), expected.cend(), from) - expected.cbegin();
            const qsizetype first = skipped < expected.size() ? expected.at(skipped) : expected.value(0, -1);
            QCOMPARE(compact.findFirst(query, cs, wholeField, from), first);
            QCOMPARE(list.findFirst(query, cs, wholeField, from), first);
            const std::vector<qsizetype> two = compact.find(query, cs, wholeField, nullptr, from, 2);
            QCOMPARE(QList<qsizetype>(two.begin(), two.end()), expected.mid(skipped, 2));
        }
    }

    // The bytes are searched 4 MiB at a time: a text across the border of
    // two stretches is found, in either case.
    void findSeesATextAcrossTheStretchesAndHalves()
    {
        const qsizetype border = qsizetype(1) << 22;
        QByteArray bytes(border - 3, 'x');
        for (qsizetype i = 99; i < bytes.size(); i += 100)
            bytes[i] = '\n';
        bytes += "Pompa\nx\n";
        const qsizetype line = bytes.count('\n') - 2;
        const SheetTexts texts = SheetTexts::fromFile(bytes);
        QCOMPARE(texts.at(line).right(5), QStringLiteral("Pompa"));
        for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
            const std::vector<qsizetype> found = texts.find(QStringLiteral("Pompa"), cs, false);
            QCOMPARE(QList<qsizetype>(found.begin(), found.end()), QList<qsizetype>{line});
        }

        // A large list is searched in two halves at once: each edge of them.
        const qsizetype count = 2 * SheetTexts::parallelFrom + 1;
        const qsizetype middle = count / 2;
        QStringList many(count, QStringLiteral("x"));
        const QList<qsizetype> edges{0, middle - 1, middle, count - 1};
        for (const qsizetype id : edges)
            many[id] = QStringLiteral("Żółw ") + QString::number(id);
        const std::vector<qsizetype> found = SheetTexts(many).find(QStringLiteral("żÓŁW"), Qt::CaseInsensitive, false);
        QCOMPARE(QList<qsizetype>(found.begin(), found.end()), edges);
    }

    void readReportsWhyNothingWasRead()
    {
        QTemporaryDir dir;
        Groups groups{{"stale"}};
        QCOMPARE(DescriptionsFile::read(QString(), 8, groups), DescriptionsFile::ReadStatus::NoPath);
        QVERIFY(groups.isEmpty());
        groups = {{"stale"}};
        QCOMPARE(DescriptionsFile::read(dir.filePath("none.txt"), 8, groups), DescriptionsFile::ReadStatus::Missing);
        QVERIFY(groups.isEmpty());
        QCOMPARE(DescriptionsFile::read(dir.path(), 8, groups), DescriptionsFile::ReadStatus::NotRegular);
        // A FIFO would block open() for good: it is never opened.
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(DescriptionsFile::read(fifo, 8, groups), DescriptionsFile::ReadStatus::NotRegular);

        QFile file(dir.filePath("ok.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("a\nb\n");
        file.close();
        QCOMPARE(DescriptionsFile::read(file.fileName(), 1, groups), DescriptionsFile::ReadStatus::Ok);
        QCOMPARE(groups, (Groups{{"a", "b"}}));
        // A path through a file as if it were a folder names nothing.
        QCOMPARE(DescriptionsFile::read(file.fileName() + "/x", 1, groups), DescriptionsFile::ReadStatus::Missing);

        // The check and the read take the file a look opened, also when the
        // path names another file by then.
        FileLook look = FileLook::at(file.fileName());
        QFile other(dir.filePath("other.txt"));
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("x\ny\nz\n") == 6);
        other.close();
        QCOMPARE(::rename(QFile::encodeName(other.fileName()).constData(),
                          QFile::encodeName(file.fileName()).constData()),
                 0);
        QCOMPARE(DescriptionsCheck::check(look, 1, 6).lines, 2);
        SheetTexts texts;
        QCOMPARE(SheetTexts::read(look, texts), DescriptionsFile::ReadStatus::Ok);
        QCOMPARE(texts.toList(), (QStringList{"a", "b"}));
    }

    void checkBeforeReading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("memoryLimit");
        QTest::addColumn<DescriptionsCheck::Verdict>("verdict");
        QTest::addColumn<qint64>("barettes");

        using V = DescriptionsCheck::Verdict;
        const qint64 large = DescriptionsCheck::largeSheetBarettes;
        const qint64 machine = 0;
        QTest::newRow("empty") << QByteArray() << machine << V::Ok << qint64(0);
        QTest::newRow("last line without LF") << QByteArray("a\nb\nc") << machine << V::Ok << qint64(1);
        QTest::newRow("two full pages") << QByteArray(12 * 9, '\n') << machine << V::Ok << qint64(12);
        QTest::newRow("one NUL line in three is text")
            << QByteArray("a\0b\nc\nd\n", 9) << machine << V::Ok << qint64(1);
        QTest::newRow("at the limit") << QByteArray(large * 9, '\n') << machine << V::Ok << large;
        QTest::newRow("one line more") << QByteArray(large * 9 + 1, '\n') << machine << V::Large << large + 1;
        QTest::newRow("more than memory holds")
            << QByteArray(10'000, '\n') << qint64(1 << 20) << V::TooLarge << qint64(1112);
        // lamello-batch keeps no page and no count of texts that do not fit:
        // the same file prints there.
        QTest::newRow("more than the window's memory holds")
            << QByteArray(10'000, '\n') << qint64(1 << 20) << V::TooLarge << qint64(1112);
        QTest::newRow("UTF-16: NUL in most lines")
            << QByteArray("P\0o\0m\0p\0a\0\n\0S\0t\0o\0p\0\n\0", 22) << machine << V::NotText << qint64(0);
        QTest::newRow("no line feed in the first megabytes")
            << QByteArray(DescriptionsCheck::lineFeedProbeBytes + 10, 'x') + '\n' << machine << V::NotText << qint64(0);
    }

    void checkBeforeReading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, memoryLimit);
        QFETCH(DescriptionsCheck::Verdict, verdict);
        QFETCH(qint64, barettes);
        QTemporaryDir dir;
        QFile file(dir.filePath("opisy.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const DescriptionsCheck::Result r = DescriptionsCheck::check(file.fileName(), 8, 6, memoryLimit);
        QCOMPARE(r.verdict, verdict);
        if (QTest::currentDataTag() == QLatin1String("more than the window's memory holds")) {
            QCOMPARE(DescriptionsCheck::check(file.fileName(), 8, 6, memoryLimit, DescriptionsCheck::Holding::Print).verdict,
                     DescriptionsCheck::Verdict::Ok);
            // The 118 MB file of a million barettes opens in 170 MiB: a
            // computer with 2 GB must not be told it lacks the memory.
            QVERIFY(DescriptionsCheck::memoryFor(1'000'000, 8, 118'000'000) < (qint64(2) << 30));
        }
        if (verdict != DescriptionsCheck::Verdict::NotText)
            QCOMPARE(r.barettes, barettes);
        if (verdict == DescriptionsCheck::Verdict::Ok || verdict == DescriptionsCheck::Verdict::Large)
            QCOMPARE(r.pages, qMax<qint64>(1, (barettes + 5) / 6));   // no empty last page
        if (verdict == DescriptionsCheck::Verdict::Large)
            QCOMPARE(DescriptionsCheck::question(r), QStringLiteral("Plik zawiera 20001 baretek (3334 strony). Wczytać?"));
        if (verdict == DescriptionsCheck::Verdict::NotText || verdict == DescriptionsCheck::Verdict::TooLarge)
            QVERIFY(DescriptionsCheck::refusal(r, file.fileName()).contains(QStringLiteral("„opisy.txt”")));
        if (verdict == DescriptionsCheck::Verdict::Ok)   // what the reader then makes
            QCOMPARE(DescriptionsFile::parse(bytes, 8).size(), barettes);
    }

    void checkRefusesWhatIsNotARegularFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString paths[] = {fifo, dir.path(), QStringLiteral("/dev/zero")};
        for (const QString &path : paths) {
            const DescriptionsCheck::Result r = DescriptionsCheck::check(path, 8, 6);
            QCOMPARE(r.verdict, DescriptionsCheck::Verdict::NotRegular);
            QVERIFY(DescriptionsCheck::refusal(r, path).contains(path));
        }
        QCOMPARE(DescriptionsCheck::check(dir.filePath("none"), 8, 6).verdict, DescriptionsCheck::Verdict::Missing);
        // A regular file when looked at, a FIFO when opened: the second look,
        // at what was opened, refuses it (and the open does not block).
        const QString swapped = dir.filePath("swapped.txt");
        QFile regular(swapped);
        QVERIFY(regular.open(QIODevice::WriteOnly) && regular.write("a\n") == 2);
        regular.close();
        swapOnOpen = QFile::encodeName(swapped);
        QCOMPARE(DescriptionsCheck::check(swapped, 8, 6).verdict, DescriptionsCheck::Verdict::NotRegular);
        QVERIFY(swapOnOpen.isEmpty());   // swapped at the open, after the look
    }

    void serializeWritesLineBreaksAsAtAndKeepsCR()
    {
        QByteArray bytes;
        QVERIFY(DescriptionsFile::serialize({QStringLiteral("Pompa\nrezerwowa\nB"), QStringLiteral("Start\r"),
                                             QString(), QStringLiteral("Żuraw")},
                                            bytes));
        QCOMPARE(bytes, QByteArray("Pompa@rezerwowa@B\nStart\r\n\n\xafuraw\n"));
        // What is written reads back, line breaks included.
        QCOMPARE(DescriptionsFile::parse(bytes, 3),
                 (Groups{{"Pompa\nrezerwowa\nB", "Start\r", "", QStringLiteral("Żuraw")}}));
    }

    void serializeNamesTheFieldItCannotWrite()
    {
        QByteArray bytes("old");
        qsizetype field = -1;
        char32_t ch = 0;
        QVERIFY(!DescriptionsFile::serialize({"ok", "ok", QStringLiteral("Moc ≥ 5")}, bytes, &field, &ch));
        QCOMPARE(field, 2);
        QCOMPARE(ch, char32_t(0x2265));
        QCOMPARE(bytes, QByteArray("old"));
        // Beyond U+FFFF: the whole character, not the first of its two UTF-16 units.
        QVERIFY(!DescriptionsFile::serialize({QStringLiteral("Stop 😀")}, bytes, &field, &ch));
        QCOMPARE(ch, char32_t(0x1F600));
    }

    void aFailedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("opisy.txt");
        QString error;
        QVERIFY(AtomicFile::write(path, "old\n", &error));

        // Let the disk "fill up" after 16 bytes: the write fails half-way. The
        // writer itself keeps SIGXFSZ from ending the process.
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool ok = AtomicFile::write(path, QByteArray(4096, 'x'), &error);
        setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY(!ok);
        QVERIFY(!error.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"opisy.txt"});

        QVERIFY(!AtomicFile::write(dir.filePath("no/such/dir/x.txt"), "x", &error));
        QVERIFY(!error.isEmpty());

        // Everything written, and then the final rename fails: a failure too.
        failedRenames = 1;
        error.clear();
        QVERIFY(!AtomicFile::write(path, "new\n", &error));
        QCOMPARE(failedRenames, 0);   // the rename was tried
        QVERIFY(!error.isEmpty());
        file.close();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"opisy.txt"});
    }

    void aWriteLastsAndReplacesOnlyRegularFiles()
    {
        QTemporaryDir dir;
        const QString folder = QFileInfo(dir.path()).canonicalFilePath();
        QString error;
        QString failed;
        // Every file is synced before it is renamed into place, the folder
        // after the last rename: a power cut then keeps the new files whole.
        QVERIFY(AtomicFile::write(dir.filePath("opisy.txt"), "old\n", &error));
        lasting.clear();
        QVERIFY(AtomicFile::write(dir.filePath("opisy.txt"), "new\n", &error));
        QCOMPARE(lasting.mid(1), (QStringList{"rename opisy.txt", "sync " + folder}));
        // (Qt's file, unnamed until it is complete, synced by its descriptor.)
        QVERIFY2(lasting.at(0).startsWith(QStringLiteral("sync ")) && !lasting.at(0).startsWith(QStringLiteral("sync /")),
                 qPrintable(lasting.at(0)));
        // A project's pair, and a PDF streamed as it is drawn; new files get
        // the mode the umask leaves.
        const mode_t mask = ::umask(022);
        lasting.clear();
        QVERIFY(AtomicFile::writeAll({{dir.filePath("p.dat"), "a\n"}, {dir.filePath("p.lmpro"), "b"}}, &failed, &error));
        QCOMPARE(lasting, (QStringList{"sync .p.dat.save-*", "sync .p.lmpro.save-*", "rename p.dat", "rename p.lmpro",
                                       "sync " + folder}));
        ::umask(027);
        lasting.clear();
        {
            AtomicStream pdf(dir.filePath("druk.pdf"));
            QVERIFY(pdf.open(QIODevice::WriteOnly));
            QVERIFY(pdf.write("%PDF-1.4\n") == 9 && pdf.commit());
        }
        QCOMPARE(lasting, (QStringList{"sync .druk.pdf.save-*", "rename druk.pdf", "sync " + folder}));
        ::umask(mask);
        const auto mode = [&dir](const char *name) {
            struct stat st{};
            return ::stat(QFile::encodeName(dir.filePath(QLatin1String(name))).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
        };
        QCOMPARE(mode("p.dat"), mode_t(0644));
        QCOMPARE(mode("p.lmpro"), mode_t(0644));
        QCOMPARE(mode("druk.pdf"), mode_t(0640));

        // The second file cannot be put in place: the first goes back to what
        // it was, an old file or none, and no second name of it stays behind.
        failingTarget = QStringLiteral("p.lmpro");
        QVERIFY(!AtomicFile::writeAll({{dir.filePath("p.dat"), "new\n"}, {dir.filePath("p.lmpro"), "c"}}, &failed,
                                      &error));
        failingTarget = QStringLiteral("n.lmpro");
        QVERIFY(!AtomicFile::writeAll({{dir.filePath("n.dat"), "new\n"}, {dir.filePath("n.lmpro"), "c"}}, &failed,
                                      &error));
        failingTarget.clear();
        QFile texts(dir.filePath("p.dat"));
        QVERIFY(texts.open(QIODevice::ReadOnly));
        QCOMPARE(texts.readAll(), QByteArray("a\n"));

        // A FIFO in the way is refused by both writers, before anything is written.
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!AtomicFile::write(fifo, "x", &error));
        QVERIFY2(error.contains(QStringLiteral("nie jest zwykły plik")), qPrintable(error));
        QVERIFY(!AtomicFile::writeAll({{dir.filePath("q.dat"), "a\n"}, {fifo, "b"}}, &failed, &error));
        QCOMPARE(failed, fifo);
        struct stat st{};
        QVERIFY(::stat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"druk.pdf", "fifo", "opisy.txt", "p.dat", "p.lmpro"}));
    }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
