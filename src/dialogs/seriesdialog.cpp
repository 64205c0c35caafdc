#include "dialogs/seriesdialog.h"

#include "document/seriespattern.h"
#include "files/windows1250.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

SeriesDialog::SeriesDialog(qsizetype selected, qsizetype available, qsizetype suggested, bool startsOnLabel,
                           const QString &pattern, QWidget *parent)
    : QDialog(parent)
    , selected(selected)
{
    setWindowTitle(tr("Wypełnij serią"));

    lePattern = new QLineEdit(pattern);
    lePattern->setObjectName(QStringLiteral("leSeriesPattern"));
    lePattern->setMaxLength(int(SeriesPattern::maxLength) + 1);   // one over, to be named
    lePattern->setPlaceholderText(tr("np. Q{0}.{0-7}"));
    lePattern->setMinimumWidth(lePattern->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    lbProblem = new QLabel;
    lbProblem->setObjectName(QStringLiteral("lbSeriesProblem"));
    lbProblem->setWordWrap(true);
    auto *help = new QLabel(tr("Tekst jest przepisywany bez zmian, „@” to nowa linia, a „{{” i „}}” to nawiasy.\n"
                               "{1} – liczby od 1 bez końca; {0-7} – od 0 do 7 i znowu od 0, a licznik\n"
                               "po lewej rośnie o 1; {01-16} – dwie cyfry: 01, 02 … 16; {A} – litery A … Z,\n"
                               "AA, AB …; {a} – małe litery; {A-H} – litery od A do H i znowu od A.\n"
                               "Z pola na pole rośnie tylko licznik najbardziej po prawej."));
    help->setObjectName(QStringLiteral("lbSeriesHelp"));
    teValues = new QPlainTextEdit;
    teValues->setObjectName(QStringLiteral("teSeriesValues"));
    teValues->setReadOnly(true);
    teValues->setTabChangesFocus(true);
    teValues->setFixedHeight(teValues->fontMetrics().lineSpacing() * (shownValues + 1) + 12);

    auto *form = new QFormLayout;
    auto *patternLabel = new QLabel(tr("&Wzór:"));
    patternLabel->setBuddy(lePattern);
    form->addRow(patternLabel, lePattern);
    form->addRow(QString(), lbProblem);
    if (selected > 1) {
        form->addRow(tr("Pola do wypełnienia:"), new QLabel(QString::number(selected)));
    } else {
        // One field: a run from it on, in reading order, over barettes and pages.
        sbCount = new QSpinBox;
        sbCount->setObjectName(QStringLiteral("sbSeriesCount"));
        sbCount->setRange(1, int(std::clamp<qsizetype>(available, 1, maxRun)));
        sbCount->setValue(int(std::clamp<qsizetype>(suggested, 1, sbCount->maximum())));
        auto *countLabel = new QLabel(tr("&Liczba pól od zaznaczonego:"));
        countLabel->setBuddy(sbCount);
        form->addRow(countLabel, sbCount);
        cbSkipHeaders = new QCheckBox(tr("Pomiń &nagłówki baretek"));
        cbSkipHeaders->setObjectName(QStringLiteral("cbSeriesSkipHeaders"));
        cbSkipHeaders->setChecked(startsOnLabel);
        form->addRow(QString(), cbSkipHeaders);
        connect(sbCount, &QSpinBox::valueChanged, this, &SeriesDialog::check);
    }
    auto *valuesLabel = new QLabel(tr("Pierwsze wartości:"));
    valuesLabel->setBuddy(teValues);
    form->addRow(valuesLabel, teValues);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Wypełnij"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Anuluj"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(help);
    layout->addWidget(buttons);

    connect(lePattern, &QLineEdit::textChanged, this, &SeriesDialog::check);
    connect(lePattern, &QLineEdit::returnPressed, this, &SeriesDialog::selectProblem);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    check();
    // A remembered pattern is typed over, or its fault shown.
    lePattern->selectAll();
    selectProblem();
}

QString SeriesDialog::pattern() const
{
    return lePattern->text();
}

qsizetype SeriesDialog::count() const
{
    return sbCount ? sbCount->value() : selected;
}

bool SeriesDialog::skipHeaders() const
{
    return cbSkipHeaders && cbSkipHeaders->isChecked();
}

void SeriesDialog::check()
{
    const SeriesPattern series(lePattern->text());
    const SeriesPattern::Error &error = series.error();
    const QString at = QString::number(error.position + 1);
    QString problem;
    switch (error.problem) {
    case SeriesPattern::Problem::None:
        break;
    case SeriesPattern::Problem::Empty:
        problem = tr("Wpisz wzór, np. Q{0}.{0-7}.");
        break;
    case SeriesPattern::Problem::TooLong:
        problem = tr("Znak %1: wzór może mieć najwyżej %2 znaków.").arg(at).arg(SeriesPattern::maxLength);
        break;
    case SeriesPattern::Problem::Unclosed:
        problem = tr("Znak %1: brak zamykającego „}”.").arg(at);
        break;
    case SeriesPattern::Problem::Unopened:
        problem = tr("Znak %1: „}” bez otwierającego „{” (sam nawias to „}}”).").arg(at);
        break;
    case SeriesPattern::Problem::EmptyBraces:
        problem = tr("Znak %1: puste nawiasy „{}”.").arg(at);
        break;
    case SeriesPattern::Problem::Unknown:
        problem = tr("Znak %1: nieznany licznik „%2” (znane to np. {1}, {0-7}, {01-16}, {A}, {a}, {A-H}).")
                      .arg(at, lePattern->text().mid(error.position, error.length));
        break;
    case SeriesPattern::Problem::TooManyDigits:
        problem = tr("Znak %1: liczba może mieć najwyżej %2 cyfr.").arg(at).arg(SeriesPattern::maxDigits);
        break;
    case SeriesPattern::Problem::TooManyLetters:
        problem = tr("Znak %1: licznik liter może mieć najwyżej %2 litery.").arg(at).arg(SeriesPattern::maxLetters);
        break;
    case SeriesPattern::Problem::Reversed:
        problem = tr("Znak %1: koniec zakresu mniejszy niż początek.").arg(at);
        break;
    case SeriesPattern::Problem::TooManyCounters:
        problem = tr("Znak %1: wzór może mieć najwyżej %2 liczników.").arg(at).arg(SeriesPattern::maxCounters);
        break;
    case SeriesPattern::Problem::Unencodable:
        problem = tr("Znak %1: znaku %2 nie można zapisać w pliku z opisami (Windows-1250).")
                      .arg(at, Windows1250::describe(error.character));
        break;
    }
    lbProblem->setText(problem);
    lbProblem->setVisible(!problem.isEmpty());
    // An empty pattern is no fault: the hint is grey, as a placeholder is;
    // a fault in what was typed is red.
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, error.problem == SeriesPattern::Problem::Empty
                                               ? colours.color(QPalette::PlaceholderText)
                                               : QColor(0xB0, 0x00, 0x20));
    lbProblem->setPalette(colours);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(series.isValid());

    // The first values as the fields will hold them; a line break shown as ⏎.
    QStringList lines;
    const qsizetype total = count();
    const QStringList values = series.values(qMin<qsizetype>(total, shownValues));
    for (qsizetype i = 0; i < values.size(); ++i)
        lines.append(QStringLiteral("%1. %2").arg(i + 1).arg(QString(values.at(i)).replace(u'\n', u'⏎')));
    if (total > values.size() && !values.isEmpty())
        lines.append(tr("… (razem %1)").arg(total));
    teValues->setPlainText(lines.join(u'\n'));
}

void SeriesDialog::selectProblem()
{
    const SeriesPattern series(lePattern->text());
    const SeriesPattern::Error &error = series.error();
    if (series.isValid() || error.problem == SeriesPattern::Problem::Empty)
        return;
    lePattern->setSelection(int(error.position), int(qMax<qsizetype>(1, error.length)));
}
