#include "editor/editpad.h"

#include "dialogs/formatslegend.h"
#include "document/specialglyphfont.h"
#include "files/atomicfile.h"
#include "files/descriptionscheck.h"
#include "files/editortext.h"
#include "files/settings.h"
#include "files/windows1250.h"
#include "prompts/prompts.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <cerrno>

namespace {
// Lines shown before the window opens, and lines added per step after that:
// a text document takes a few microseconds per line.
constexpr int firstSliceLines = 5000;
constexpr int sliceLines = 2000;
constexpr int sliceBudgetMs = 30;

const QString fileFilter = QStringLiteral("*.txt;;*.dat");

// The end of `lines` lines of `text` starting at `from` (after their line feed).
qsizetype sliceEnd(const QString &text, qsizetype from, int lines)
{
    while (lines-- > 0) {
        const qsizetype lf = text.indexOf(QLatin1Char('\n'), from);
        if (lf < 0)
            return text.size();
        from = lf + 1;
    }
    return from;
}

} // namespace

EditPad::EditPad(QString pathToFile, QWidget *parent)
    : QDialog(parent)
    , pathToFile(std::move(pathToFile))
{
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);

    textEdit = new QPlainTextEdit;
    textEdit->setObjectName(QStringLiteral("textEdit"));
    textEdit->setAccessibleName(tr("Opisy, jeden wiersz na pole"));
    QFont font;
    font.setFamily(SpecialGlyphFont::family());
    font.setPixelSize(13);
    textEdit->setFont(font);
    // One line of the file is one field: never show it over two lines.
    textEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    legend = new FormatsLegend(true);

    auto button = [this](QPushButton *&pb, const QString &name, const QString &text, void (EditPad::*slot)()) {
        pb = new QPushButton(text);
        pb->setObjectName(name);
        pb->setMaximumWidth(100);
        pb->setAutoDefault(false);
        connect(pb, &QPushButton::clicked, this, slot);
    };
    button(pbOpen, QStringLiteral("pbOpen"), tr("Otwórz"), &EditPad::pbOpenClicked);
    button(pbSaveAs, QStringLiteral("pbSaveAs"), tr("Zapisz jako"), &EditPad::pbSaveAsClicked);
    button(pbSave, QStringLiteral("pbSave"), tr("Zapisz"), &EditPad::pbSaveClicked);
    button(pbCancel, QStringLiteral("pbCancel"), tr("Anuluj"), &EditPad::pbCancelClicked);
    button(pbReset, QStringLiteral("pbReset"), tr("Resetuj"), &EditPad::pbResetClicked);
    lbLoading = new QLabel;
    lbLoading->hide();
    lbEncoding = new QLabel(tr("Plik odczytano\njako UTF-8;\nzapis będzie\nw Windows-1250."));
    lbEncoding->setObjectName(QStringLiteral("lbEncoding"));
    lbEncoding->setAlignment(Qt::AlignCenter);
    lbEncoding->hide();

    auto *column = new QVBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(pbOpen), static_cast<QWidget *>(pbSaveAs),
                       static_cast<QWidget *>(pbSave), static_cast<QWidget *>(pbCancel),
                       static_cast<QWidget *>(pbReset), static_cast<QWidget *>(lbLoading),
                       static_cast<QWidget *>(lbEncoding)})
        column->addWidget(w, 0, Qt::AlignCenter);
    column->addStretch();
    column->addWidget(legend, 0, Qt::AlignCenter);
    auto *row = new QHBoxLayout(this);
    row->addWidget(textEdit);
    row->addLayout(column);

    updateTitle();
    setWindowIcon(QIcon(QStringLiteral(":/icons/lamello.png")));
    adjustSize();
    setMinimumSize(600, 350);

    sliceTimer.setInterval(0);
    sliceTimer.setSingleShot(true);
    connect(&sliceTimer, &QTimer::timeout, this, &EditPad::loadNextSlice);

    // A file that cannot be read leaves an empty, unmodified text and keeps the
    // path: nothing is overwritten unless the user types and saves.
    if (!this->pathToFile.isEmpty())
        loadFromFile(this->pathToFile);
    connect(textEdit, &QPlainTextEdit::textChanged, this, &EditPad::textChanged);
}

EditPad::~EditPad() = default;

void EditPad::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && pbSave) {
        pbOpen->setText(tr("Otwórz"));
        pbSaveAs->setText(tr("Zapisz jako"));
        setModified(modified);
        pbCancel->setText(tr("Anuluj"));
        pbReset->setText(tr("Resetuj"));
        lbEncoding->setText(tr("Plik odczytano\njako UTF-8;\nzapis będzie\nw Windows-1250."));
        updateTitle();
    }
    QDialog::changeEvent(event);
}

void EditPad::updateTitle()
{
    setWindowTitle(pathToFile.isEmpty() ? tr("Nowe opisy") : pathToFile);
}

void EditPad::setModified(bool on)
{
    modified = on;
    pbSave->setText(on ? tr("Zapisz") + QLatin1Char('*') : tr("Zapisz"));
}

void EditPad::textChanged()
{
    if (!fillingText && !modified)
        setModified(true);
}

// ----------------------------------------------------------------- loading

bool EditPad::loadFromFile(const QString &path)
{
    // Only a regular file: a FIFO or a device chosen here would block the
    // window for good, or never end.
    QFile file;
    QByteArray bytes;
    QString reason;
    switch (DescriptionsCheck::openRegular(path, file)) {
    case DescriptionsCheck::Verdict::Ok:
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            reason = file.errorString();
        break;
    case DescriptionsCheck::Verdict::NotRegular:
        reason = tr("To nie jest zwykły plik.");
        break;
    default:
        reason = qt_error_string(errno);   // as the failed look at the path left it
        break;
    }
    if (!reason.isEmpty()) {
        Prompts::current().message(QMessageBox::Information, QString(),
                                   tr("Nie udało się otworzyć pliku do odczytu.\n%1").arg(path)
                                       + QLatin1Char('\n') + reason);
        return false;
    }
    file.close();
    EditorText::Shown shown = EditorText::fromBytes(bytes);
    bytes.clear();
    crlf = shown.crlf;
    lbEncoding->setVisible(shown.encoding == DescriptionsFile::Encoding::Utf8);
    showText(std::move(shown.text));
    setModified(false);
    if (shown.nulCount > 0) {
        Prompts::current().message(
            QMessageBox::Information, QString(),
            tr("Plik %1 zawiera bajty NUL (%2), pokazane tutaj jako „%3”.\n"
               "Na arkuszu każdy z nich kończy tekst swojego pola; dalsza część wiersza nie jest "
               "pokazywana.\nZapis zachowuje je bez zmian.")
                .arg(path)
                .arg(shown.nulCount)
                .arg(EditorText::nulMark));
    }
    return true;
}

void EditPad::showText(QString text)
{
    sliceTimer.stop();
    fillingText = true;
    const qsizetype first = sliceEnd(text, 0, firstSliceLines);
    textEdit->setPlainText(text.first(first));
    fillingText = false;
    if (first >= text.size()) {
        pending.clear();
        finishLoading();
        return;
    }
    // The rest follows a slice at a time; until it is all in, the text cannot
    // be edited or saved, so a half-loaded file is never written back.
    pending = std::move(text);
    pendingFrom = first;
    textEdit->document()->setUndoRedoEnabled(false);
    textEdit->setReadOnly(true);
    for (QPushButton *pb : {pbOpen, pbSaveAs, pbSave, pbReset})
        pb->setEnabled(false);
    lbLoading->show();
    loadNextSlice();
}

void EditPad::loadNextSlice()
{
    QElapsedTimer timer;
    timer.start();
    QTextCursor cursor(textEdit->document());
    cursor.movePosition(QTextCursor::End);
    fillingText = true;
    do {
        const qsizetype end = sliceEnd(pending, pendingFrom, sliceLines);
        cursor.insertText(pending.sliced(pendingFrom, end - pendingFrom));
        pendingFrom = end;
    } while (pendingFrom < pending.size() && timer.elapsed() < sliceBudgetMs);
    fillingText = false;
    if (pendingFrom < pending.size()) {
        lbLoading->setText(tr("Wczytywanie: %1%").arg(pendingFrom * 100 / pending.size()));
        sliceTimer.start();
        return;
    }
    pending = QString();
    pendingFrom = 0;
    finishLoading();
}

void EditPad::finishLoading()
{
    textEdit->document()->setUndoRedoEnabled(true);
    textEdit->setReadOnly(false);
    for (QPushButton *pb : {pbOpen, pbSaveAs, pbSave, pbReset})
        pb->setEnabled(true);
    lbLoading->hide();
    emit loaded();
}

// ------------------------------------------------------------------ saving

EditPad::Answer EditPad::settleChanges(const QString &question, bool offerSave)
{
    if (!modified)
        return Answer::Go;
    const QMessageBox::StandardButtons buttons =
        offerSave ? QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel
                  : QMessageBox::Discard | QMessageBox::Cancel;
    switch (Prompts::current().question(QMessageBox::Question, QString(), question, buttons,
                                        offerSave ? QMessageBox::Save : QMessageBox::Cancel)) {
    case QMessageBox::Save:
        return saveToFile(true) ? Answer::Go : Answer::Stop;
    case QMessageBox::Discard:
        return Answer::Go;
    default:
        return Answer::Stop;
    }
}

bool EditPad::saveToFile(bool silent)
{
    if (isLoading())
        return false;
    if (!modified)
        return true;
    if (pathToFile.isEmpty()) {
        const QString name = Prompts::withSuffix(
            Prompts::current().saveFileName(this, tr("Zapisz jako"),
                                            Prompts::startFolder(Settings::Folder::Descriptions), fileFilter),
            fileFilter);
        return !name.isEmpty() && writeTo(name);
    }
    if (!silent) {
        const QMessageBox::StandardButton answer = Prompts::current().question(
            QMessageBox::Question, QString(), tr("Czy na pewno chcesz nadpisać oryginalną zawartość pliku?"),
            QMessageBox::Save | QMessageBox::Discard, QMessageBox::Save);
        if (answer != QMessageBox::Save)
            return false;
    }
    return writeTo(pathToFile);
}

bool EditPad::writeTo(const QString &path)
{
    QByteArray bytes;
    EditorText::Unencodable bad;
    if (!EditorText::toBytes(textEdit->document()->toRawText(), crlf, bytes, &bad)) {
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   tr("Nie zapisano pliku.\nZnaku %1 w wierszu %2 nie można zapisać "
                                      "w kodowaniu Windows-1250. Usuń go lub zastąp innym.")
                                       .arg(Windows1250::describe(bad.character))
                                       .arg(bad.line));
        return false;
    }
    if (beforeWrite && !beforeWrite())
        return false;
    QString error;
    if (!AtomicFile::write(path, bytes, &error)) {
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   tr("Nie udało się zapisać pliku.\n%1\n%2").arg(path, error));
        return false;
    }
    pathToFile = path;
    Settings().setLastFolder(Settings::Folder::Descriptions, path);
    updateTitle();
    lbEncoding->hide();   // the file is Windows-1250 now
    setModified(false);
    Prompts::current().message(QMessageBox::Information, QString(), tr("Zapisano\n%1").arg(path));
    emit savedAs(pathToFile);
    return true;
}

// ----------------------------------------------------------------- buttons

void EditPad::pbSaveClicked()
{
    saveToFile(false);
}

void EditPad::pbSaveAsClicked()
{
    if (isLoading())
        return;
    const QString name = Prompts::withSuffix(
        Prompts::current().saveFileName(this, tr("Zapisz jako"),
                                        Prompts::startFolder(Settings::Folder::Descriptions, pathToFile), fileFilter),
        fileFilter);
    // Written even without changes: the user asked for the text under that name.
    if (!name.isEmpty())
        writeTo(name);
}

void EditPad::pbOpenClicked()
{
    if (isLoading())
        return;
    const QString name = Prompts::current().openFileName(this, tr("Otwórz plik"),
                                                         Prompts::startFolder(Settings::Folder::Descriptions,
                                                                              pathToFile),
                                                         QStringLiteral("*.dat;;*.txt"));
    if (name.isEmpty())
        return;
    if (settleChanges(tr("Czy na pewno chcesz porzucić wszystkie zmiany?"), true) == Answer::Stop)
        return;
    if (!loadFromFile(name))
        return;
    pathToFile = name;
    Settings().setLastFolder(Settings::Folder::Descriptions, name);
    updateTitle();
    emit savedAs(pathToFile);
}

void EditPad::pbResetClicked()
{
    if (isLoading())
        return;
    if (settleChanges(tr("Czy na pewno chcesz porzucić wszystkie zmiany?"), false) == Answer::Stop)
        return;
    if (pathToFile.isEmpty()) {
        lbEncoding->hide();
        showText(QString());
        setModified(false);
        return;
    }
    loadFromFile(pathToFile);
}

void EditPad::pbCancelClicked()
{
    close();
}

void EditPad::reject()
{
    close();
}

void EditPad::closeEvent(QCloseEvent *event)
{
    if (settleChanges(tr("Tekst zawiera niezapisane zmiany. Zapisać je przed zamknięciem?"), true)
        == Answer::Stop) {
        event->ignore();
        return;
    }
    sliceTimer.stop();
    event->accept();
}
