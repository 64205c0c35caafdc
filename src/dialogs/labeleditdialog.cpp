#include "dialogs/labeleditdialog.h"

#include "dialogs/fontdialog.h"
#include "dialogs/formatslegend.h"
#include "document/sheetdocument.h"
#include "document/specialglyphfont.h"
#include "files/windows1250.h"
#include "prompts/prompts.h"
#include "system/pictures.h"

#include <QAction>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>
#include <QVBoxLayout>

LabelEditDialog::LabelEditDialog(int id, QString text, QFont font, SheetDocument *document)
    : document(document)
    , fieldId(id)
    , font(font)
    , originalFont(font)
{
    if (document) {
        originalText = document->text(id);
        originalDocumentFont = document->font(id);
    }
    formatsLegend = new FormatsLegend(true, this);
    formatsLegend->setObjectName(QStringLiteral("legend"));

    teText = new QTextEdit;
    teText->setObjectName(QStringLiteral("teText"));
    teText->setAccessibleName(tr("Tekst pola"));
    // A tab in a field is only a space: Tab and Shift+Tab move the focus.
    teText->setTabChangesFocus(true);
    // Plain text both ways: nothing the user typed is taken for markup, and
    // what is pasted arrives without formatting.
    teText->setAcceptRichText(false);
    QTextOption option = teText->document()->defaultTextOption();
    option.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    teText->document()->setDefaultTextOption(option);
    QFont boxFont = teText->font();
    boxFont.setFamily(SpecialGlyphFont::family());
    teText->setFont(boxFont);
    // Left over from descriptions files with CR LF line ends.
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    teText->setPlainText(text);
    teText->setEnabled(true);
    connect(teText, &QTextEdit::textChanged, this, &LabelEditDialog::breakAtSigns);
    breakAtSigns();

    pbAccept = new QPushButton(tr("OK"));
    pbAccept->setObjectName(QStringLiteral("pbAccept"));
    pbCancel = new QPushButton(tr("Anuluj"));
    pbCancel->setObjectName(QStringLiteral("pbCancel"));
    pbFont = new QPushButton(tr("Czcionka"), this);
    pbFont->setObjectName(QStringLiteral("pbFont"));
    pbFont->setToolTip(tr("Krój, rozmiar i styl tego pola, także rozmiar dopasowany samoczynnie"));
    connect(pbAccept, &QPushButton::clicked, this, &LabelEditDialog::pbAcceptClicked);
    // Enter is a new line in the text; Ctrl+Enter is OK.
    auto *acceptKeys = new QAction(this);
    acceptKeys->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    addAction(acceptKeys);
    connect(acceptKeys, &QAction::triggered, this, &LabelEditDialog::pbAcceptClicked);
    pbAccept->setToolTip(tr("Zapisuje tekst w polu (Ctrl+Enter)"));
    connect(pbCancel, &QPushButton::clicked, this, &LabelEditDialog::reject);
    connect(pbFont, &QPushButton::clicked, this, &LabelEditDialog::pbFontClicked);

    rbPlainText = new QRadioButton(tr("Czysty tekst"), this);
    rbPlainText->setObjectName(QStringLiteral("rbPlainText"));
    rbFormatedText = new QRadioButton(tr("Formatowany tekst"), this);
    rbFormatedText->setObjectName(QStringLiteral("rbFormatedText"));
    rbFormatedText->setChecked(true);
    rbPlainText->hide();
    rbFormatedText->hide();
    connect(rbPlainText, &QRadioButton::clicked, this, &LabelEditDialog::rbPlainTextSelected);
    connect(rbFormatedText, &QRadioButton::clicked, this, &LabelEditDialog::rbFormatedTextSelected);
    rbPlainText->setToolTip(tr("Wprowadzony tekst zostanie bezpośrednio zapisany w opisie.\n"
                               "Nie zostanie sformatowany."));
    rbFormatedText->setToolTip(tr("Wprowadzony tekst przed zapisaniem w opisie zostanie sformatowany "
                                  "zgodznie z legendą."));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(pbAccept, 0, Qt::AlignTop);
    buttons->addWidget(pbCancel, 0, Qt::AlignTop);
    buttons->addWidget(pbFont, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(teText);
    layout->addLayout(buttons);
    layout->addWidget(formatsLegend, 0, Qt::AlignCenter);
    layout->addStretch();

    setModal(true);
    setWindowTitle(tr("Edycja opisu"));
    setWindowIcon(Pictures::icon(QStringLiteral(":/icons/printer_r.png")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(sizeHint());
    teText->setFocus();
}

LabelEditDialog::~LabelEditDialog() = default;

FontDialog *LabelEditDialog::openedFontDialog() const
{
    return fontDialog;
}

QString LabelEditDialog::plainText() const
{
    // toPlainText() would turn no-break spaces into spaces; the raw text keeps
    // every character and marks line ends with the Unicode separators.
    QString text = teText->document()->toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    }
    return text;
}

void LabelEditDialog::breakAtSigns()
{
    if (breaking)
        return;
    QTextDocument *doc = teText->document();
    QTextCursor found = doc->find(QStringLiteral("@"));
    if (found.isNull())
        return;
    breaking = true;
    QTextCursor edit(doc);
    edit.beginEditBlock();
    while (!found.isNull()) {
        found.removeSelectedText();
        found.insertBlock();
        found = doc->find(QStringLiteral("@"), found);
    }
    edit.endEditBlock();
    breaking = false;
}

void LabelEditDialog::pbAcceptClicked()
{
    const QString text = plainText();
    qsizetype bad = -1;
    QByteArray ignored;
    if (!Windows1250::encode(text, ignored, &bad)) {
        const char32_t c = Windows1250::characterAt(text, bad);
        // Show the user where it is.
        QTextCursor cursor(teText->document());
        cursor.setPosition(int(bad));
        cursor.setPosition(int(bad + (c > 0xFFFF ? 2 : 1)), QTextCursor::KeepAnchor);
        teText->setTextCursor(cursor);
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   tr("Tekst zawiera znak %1, którego nie można zapisać w kodowaniu "
                                      "Windows-1250.\nUsuń go lub zastąp innym znakiem.")
                                       .arg(Windows1250::describe(c)));
        return;
    }
    if (document) {
        // The font the dialog showed on the field goes into the same step.
        if (fontApplied)
            document->setContent(fieldId, originalText, originalDocumentFont);
        const QFont newFont = fontApplied ? SpecialGlyphFont::fieldFont(font) : originalDocumentFont;
        fontApplied = false;
        document->editField(fieldId, text, newFont, tr("Edycja opisu"));
    }
    emit changeLabel(text);
    accept();
}

void LabelEditDialog::rbPlainTextSelected()
{
    rbFormatedText->setChecked(false);
    rbPlainText->setChecked(true);
    formatsLegend->hide();
    adjustSize();
}

void LabelEditDialog::rbFormatedTextSelected()
{
    rbPlainText->setChecked(false);
    rbFormatedText->setChecked(true);
    formatsLegend->show();
    adjustSize();
}

void LabelEditDialog::pbFontClicked()
{
    // A separate window, owned by this dialog and gone with it.
    delete fontDialog;
    fontDialog = new FontDialog(font, this);
    fontDialog->setWindowModality(Qt::ApplicationModal);
    connect(fontDialog, &FontDialog::setThisFont, this, &LabelEditDialog::fontChanged);
    fontDialog->show();
}

void LabelEditDialog::fontChanged(QFont newFont)
{
    if (document) {
        document->setContent(fieldId, document->text(fieldId), SpecialGlyphFont::fieldFont(newFont));
        fontApplied = true;
    }
    font = newFont;
    if (!pbFont->text().contains(QLatin1Char('*')))
        pbFont->setText(pbFont->text() + QLatin1Char('*'));
}

void LabelEditDialog::reject()
{
    if (document && fontApplied)
        document->setContent(fieldId, originalText, originalDocumentFont);
    fontApplied = false;
    QDialog::reject();
}
