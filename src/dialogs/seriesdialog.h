#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

// "Wypełnij serią": the pattern (SeriesPattern), the first values it gives
// and, when one field is selected, how many fields from it on to fill and
// whether barette headers on the way are left out. A pattern that cannot be
// read is named under the field, by character, and "OK" waits for a good
// one; Enter on a bad pattern selects the part that is wrong.
class SeriesDialog : public QDialog
{
    Q_OBJECT

public:
    // The most fields one series fills from a single field.
    static constexpr int maxRun = 100000;
    // Values shown before the series is applied.
    static constexpr int shownValues = 8;

    // `selected` fields are filled; with one, a run of up to `available`
    // fields from it, `suggested` at first; `startsOnLabel` checks "leave
    // headers out" at first.
    SeriesDialog(qsizetype selected, qsizetype available, qsizetype suggested, bool startsOnLabel,
                 const QString &pattern, QWidget *parent = nullptr);

    QString pattern() const;
    // How many fields take a value.
    qsizetype count() const;
    // A run leaves the barettes' headers out.
    bool skipHeaders() const;

private:
    void check();
    void selectProblem();

    qsizetype selected = 0;
    QLineEdit *lePattern = nullptr;
    QLabel *lbProblem = nullptr;
    QSpinBox *sbCount = nullptr;
    QCheckBox *cbSkipHeaders = nullptr;
    QPlainTextEdit *teValues = nullptr;
    QDialogButtonBox *buttons = nullptr;
};
