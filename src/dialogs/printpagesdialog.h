#pragma once

#include <QDialog>
#include <QList>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// "Drukuj strony": which pages of the sheet, in lamello-batch's form
// ("1-3,5"), and how many collated copies (1 to 99). "OK" is offered only
// while the pages typed exist on the sheet.
class PrintPagesDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int maxCopies = 99;

    // `pageCount` pages on the sheet; the range starts as all of them.
    explicit PrintPagesDialog(int pageCount, QWidget *parent = nullptr);

    // The pages chosen, from 1, ascending; empty while the range is not valid.
    QList<int> pages() const;
    int copies() const;

private:
    void check();

    int pageCount = 1;
    QLineEdit *leRange = nullptr;
    QSpinBox *sbCopies = nullptr;
    QLabel *lbProblem = nullptr;
    QDialogButtonBox *buttons = nullptr;
};
