#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class Preview;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class SheetTexts;

// The find bar under the sheet (Ctrl+F): a query, the next (Enter) and the
// previous (Shift+Enter) field that holds it, "Uwzględniaj wielkość liter",
// "Całe pole" and the count ("3 z 17"); Esc closes it and gives the keys back
// to the sheet. It searches every field of the document, on pages not built
// too, selects the field found and shows its page. An "@" in the query is a
// line break, as in the descriptions file and the edit dialog.
//
// Opened for replacing (Ctrl+H) it has a second row: "Zamień" replaces the
// query in the field found and goes on to the next, "Zamień wszystko" in every
// field that matches, as one step to undo; each field keeps its font. A
// replacement that Windows-1250 cannot hold is refused before anything changes.
//
// On a large sheet the search runs beside the window: a keystroke starts one
// and cancels the one still running; the first field found from the selected
// one on is selected as soon as it is known, and the count ("3 z 17", "…"
// meanwhile) follows.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(Preview *preview, QWidget *parent = nullptr);
    ~FindBar() override;

    // Sheets of more texts than this are searched beside the window.
    static constexpr qsizetype searchedAtOnce = 50'000;

    // Shows the bar with the query selected for typing over; openReplace()
    // with the replacement row too.
    void open();
    void openReplace();
    // Replaces the query in the selected field when it matches and finds the
    // next; else finds the next only.
    void replaceOne();
    // Replaces the query in every field that matches, as one step to undo.
    // Returns how many fields changed (-1 when the replacement was refused).
    qsizetype replaceAll();
    // Selects the next field that matches after the selected one (or the
    // previous one before it), going round the sheet; with nothing selected,
    // the first from the start of the page shown (or the last from its end).
    // False, with the count saying so, when no field matches.
    bool findNext(bool forward);
    // The fields that match now, in id order (searched on the spot when
    // not known yet).
    const std::vector<qsizetype> &matches();
    // Whether a search beside the window is still running.
    bool isSearching() const { return search != nullptr; }
    void retranslate();

signals:
    // What a replace-all did, for the status bar.
    void statusMessage(const QString &message);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // A new query or option: the count again, and the first match from the
    // selected field on (as a browser finds while typing).
    void queryChanged();
    void close();
    // The replacement as a field holds it; false, after saying which
    // character, when Windows-1250 cannot hold it.
    bool replacement(QString &text);
    void showCount();
    // Where the search starts: the selected field, else -1.
    qsizetype selectedId() const;

    struct Search;
    bool searchBeside() const;
    // A search of the query beside the window; with `selectFirst` the first
    // field found from the selected one on is selected once known.
    void startSearch(bool selectFirst);
    void cancelSearch();
    // The search itself, on a worker.
    static void runSearch(const std::shared_ptr<Search> &job, const SheetTexts &texts, const QString &query,
                          Qt::CaseSensitivity cs, bool wholeField, qsizetype from, qsizetype fields,
                          bool selectFirst);
    void searchFailed(const Search *from);
    void firstFound(const Search *from, qsizetype id);
    void allFound(const Search *from, std::vector<qsizetype> ids);
    // The query as the fields hold it ("@" a line break) and the options.
    QString fieldQuery() const;
    Qt::CaseSensitivity caseSensitivity() const;

    Preview *preview;
    QLabel *lbFind = nullptr;
    QLineEdit *leQuery = nullptr;
    QToolButton *pbPrevious = nullptr;
    QToolButton *pbNext = nullptr;
    QCheckBox *cbMatchCase = nullptr;
    QCheckBox *cbWholeField = nullptr;
    QLabel *lbCount = nullptr;
    QToolButton *pbClose = nullptr;
    QWidget *replaceRow = nullptr;
    QLabel *lbReplace = nullptr;
    QLineEdit *leReplacement = nullptr;
    QPushButton *pbReplace = nullptr;
    QPushButton *pbReplaceAll = nullptr;
    std::vector<qsizetype> found;
    bool stale = true;           // the document or the query changed since `found`
    bool countPending = false;   // a count is due once the changes are over
    qsizetype current = -1;      // index in `found` of the field last selected
    std::shared_ptr<Search> search;   // the search running beside the window
    int pendingStep = 0;         // Enter (1) or Shift+Enter (-1) while it runs
};
