#include "app/findbar.h"

#include "app/sheetundokeys.h"
#include "document/sheetdocument.h"
#include "files/windows1250.h"
#include "prompts/prompts.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"
#include "system/allocator.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <QToolButton>

#include <algorithm>
#include <atomic>
#include <new>

// A search beside the window: its results go to the bar that started it,
// while the bar is there and this is still its latest search.
struct FindBar::Search
{
    std::atomic<bool> cancelled = false;
    QPointer<FindBar> bar;
};

FindBar::FindBar(Preview *preview, QWidget *parent)
    : QWidget(parent)
    , preview(preview)
{
    setObjectName(QStringLiteral("findBar"));
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(6, 3, 6, 3);
    rows->setSpacing(3);
    auto *row = new QHBoxLayout;
    rows->addLayout(row);
    lbFind = new QLabel;
    leQuery = new QLineEdit;
    leQuery->setObjectName(QStringLiteral("leFindQuery"));
    leQuery->setClearButtonEnabled(true);
    leQuery->setMinimumWidth(220);
    lbFind->setBuddy(leQuery);
    pbPrevious = new QToolButton;
    pbPrevious->setObjectName(QStringLiteral("pbFindPrevious"));
    pbPrevious->setArrowType(Qt::UpArrow);
    pbNext = new QToolButton;
    pbNext->setObjectName(QStringLiteral("pbFindNext"));
    pbNext->setArrowType(Qt::DownArrow);
    cbMatchCase = new QCheckBox;
    cbMatchCase->setObjectName(QStringLiteral("cbFindMatchCase"));
    cbWholeField = new QCheckBox;
    cbWholeField->setObjectName(QStringLiteral("cbFindWholeField"));
    lbCount = new QLabel;
    lbCount->setObjectName(QStringLiteral("lbFindCount"));
    pbClose = new QToolButton;
    pbClose->setObjectName(QStringLiteral("pbFindClose"));
    pbClose->setAutoRaise(true);
    pbClose->setText(QStringLiteral("✕"));
    row->addWidget(lbFind);
    row->addWidget(leQuery);
    row->addWidget(pbPrevious);
    row->addWidget(pbNext);
    row->addSpacing(8);
    row->addWidget(cbMatchCase);
    row->addWidget(cbWholeField);
    row->addSpacing(8);
    row->addWidget(lbCount);
    row->addStretch(1);
    row->addWidget(pbClose);

    replaceRow = new QWidget;
    auto *second = new QHBoxLayout(replaceRow);
    second->setContentsMargins(0, 0, 0, 0);
    lbReplace = new QLabel;
    leReplacement = new QLineEdit;
    leReplacement->setObjectName(QStringLiteral("leReplacement"));
    leReplacement->setMinimumWidth(220);
    lbReplace->setBuddy(leReplacement);
    pbReplace = new QPushButton;
    pbReplace->setObjectName(QStringLiteral("pbReplace"));
    pbReplaceAll = new QPushButton;
    pbReplaceAll->setObjectName(QStringLiteral("pbReplaceAll"));
    second->addWidget(lbReplace);
    second->addWidget(leReplacement);
    second->addWidget(pbReplace);
    second->addWidget(pbReplaceAll);
    second->addStretch(1);
    rows->addWidget(replaceRow);
    replaceRow->hide();
    retranslate();

    connect(pbReplace, &QPushButton::clicked, this, &FindBar::replaceOne);
    connect(pbReplaceAll, &QPushButton::clicked, this, &FindBar::replaceAll);
    connect(leQuery, &QLineEdit::textChanged, this, &FindBar::queryChanged);
    connect(cbMatchCase, &QCheckBox::toggled, this, &FindBar::queryChanged);
    connect(cbWholeField, &QCheckBox::toggled, this, &FindBar::queryChanged);
    connect(pbNext, &QToolButton::clicked, this, [this] { findNext(true); });
    connect(pbPrevious, &QToolButton::clicked, this, [this] { findNext(false); });
    connect(pbClose, &QToolButton::clicked, this, &FindBar::close);
    // Ctrl+Z in the boxes undoes what was done last: a replacement, or the
    // typing after it.
    for (QLineEdit *box : {leQuery, leReplacement})
        SheetUndoKeys::install(box, preview->undoStack());
    // A replace-all changes a field at a time: the count is worked out once,
    // after the last.
    const auto changed = [this] {
        stale = true;
        cancelSearch();
        if (!countPending && isVisible()) {
            countPending = true;
            QTimer::singleShot(0, this, [this] {
                countPending = false;
                if (isVisible())
                    showCount();
            });
        }
    };
    SheetDocument *doc = preview->document();
    connect(doc, &SheetDocument::fieldsChanged, this, changed);
    connect(doc, &SheetDocument::contentReset, this, changed);
    // Another label count or geometry moves the fields and the pages.
    connect(preview, &Preview::updatePagesCount, this, changed);
    hide();
}

FindBar::~FindBar()
{
    cancelSearch();
}

void FindBar::retranslate()
{
    lbFind->setText(tr("&Znajdź:"));
    leQuery->setPlaceholderText(tr("„@” to nowa linia w polu"));
    pbPrevious->setToolTip(tr("Poprzednie (Shift+Enter)"));
    pbNext->setToolTip(tr("Następne (Enter)"));
    cbMatchCase->setText(tr("Uwzględniaj wielkość &liter"));
    cbWholeField->setText(tr("&Całe pole"));
    pbClose->setToolTip(tr("Zamknij (Esc)"));
    // The labels line up: both the width of the longer.
    lbReplace->setText(tr("Zamień &na:"));
    lbFind->setMinimumWidth(0);
    lbReplace->setMinimumWidth(0);
    const int labelWidth = qMax(lbFind->sizeHint().width(), lbReplace->sizeHint().width());
    lbFind->setMinimumWidth(labelWidth);
    lbReplace->setMinimumWidth(labelWidth);
    pbReplace->setText(tr("Za&mień"));
    pbReplace->setToolTip(tr("Zamienia w znalezionym polu i szuka następnego (Enter w polu zamiany)"));
    pbReplaceAll->setText(tr("Zamień &wszystko"));
    pbReplaceAll->setToolTip(tr("Zamienia we wszystkich pasujących polach arkusza; Ctrl+Z cofa całość"));
    if (isVisible())
        showCount();
}

void FindBar::open()
{
    show();
    leQuery->setFocus(Qt::ShortcutFocusReason);
    leQuery->selectAll();
    showCount();
}

void FindBar::openReplace()
{
    replaceRow->show();
    open();
    // With a query already typed, the replacement is what comes next.
    if (!leQuery->text().isEmpty()) {
        leReplacement->setFocus(Qt::ShortcutFocusReason);
        leReplacement->selectAll();
    }
}

void FindBar::close()
{
    cancelSearch();
    pendingStep = 0;
    hide();
    replaceRow->hide();
    preview->setFocus();
}

QString FindBar::fieldQuery() const
{
    // A field holds a line break where the file and the edit dialog have "@".
    QString query = leQuery->text();
    query.replace(QLatin1Char('@'), QLatin1Char('\n'));
    return query;
}

Qt::CaseSensitivity FindBar::caseSensitivity() const
{
    return cbMatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

const std::vector<qsizetype> &FindBar::matches()
{
    if (stale) {
        cancelSearch();
        found = preview->document()->allTexts().find(fieldQuery(), caseSensitivity(), cbWholeField->isChecked());
        // Lines past the last barette that fits are on no page.
        const qsizetype fields = preview->fieldCount();
        found.erase(std::lower_bound(found.begin(), found.end(), fields), found.end());
        stale = false;
        current = -1;
    }
    return found;
}

bool FindBar::searchBeside() const
{
    return preview->document()->lineCount() > searchedAtOnce;
}

void FindBar::cancelSearch()
{
    if (search) {
        search->cancelled = true;
        search.reset();
    }
}

void FindBar::startSearch(bool selectFirst)
{
    cancelSearch();
    auto job = std::make_shared<Search>();
    job->bar = this;
    search = job;
    lbCount->setText(QStringLiteral("…"));
    const qsizetype selected = selectedId();
    const qsizetype from = selected >= 0 ? selected : preview->firstShownId();
    const qsizetype fields = preview->fieldCount();
    // The worker searches a copy: the texts' bytes and strings are shared.
    auto texts = std::make_shared<const SheetTexts>(preview->document()->allTexts());
    const QString query = fieldQuery();
    const Qt::CaseSensitivity cs = caseSensitivity();
    const bool wholeField = cbWholeField->isChecked();
    QThreadPool::globalInstance()->start([job, texts, query, cs, wholeField, from, fields, selectFirst] {
        try {
            runSearch(job, *texts, query, cs, wholeField, from, fields, selectFirst);
        } catch (const std::bad_alloc &) {
            // Too many fields found to hold: the count says so, the program goes on.
            QMetaObject::invokeMethod(
                qApp, [job] {
                    if (job->bar)
                        job->bar->searchFailed(job.get());
                },
                Qt::QueuedConnection);
        }
    });
}

void FindBar::runSearch(const std::shared_ptr<Search> &job, const SheetTexts &texts, const QString &query,
                        Qt::CaseSensitivity cs, bool wholeField, qsizetype from, qsizetype fields, bool selectFirst)
{
    qsizetype first = 0;
    if (selectFirst) {
        first = texts.findFirst(query, cs, wholeField, from, &job->cancelled);
        if (job->cancelled)
            return;
        if (first >= 0 && first < fields) {
            QMetaObject::invokeMethod(
                qApp, [job, first] {
                    if (job->bar)
                        job->bar->firstFound(job.get(), first);
                },
                Qt::QueuedConnection);
        }
    }
    // Nothing found going round the sheet: nothing to count.
    std::vector<qsizetype> all;
    if (first >= 0)
        all = texts.find(query, cs, wholeField, &job->cancelled);
    if (job->cancelled)
        return;
    // Lines past the last barette that fits are on no page.
    all.erase(std::lower_bound(all.begin(), all.end(), fields), all.end());
    QMetaObject::invokeMethod(
        qApp, [job, all = std::move(all)]() mutable {
            if (job->bar)
                job->bar->allFound(job.get(), std::move(all));
        },
        Qt::QueuedConnection);
}

void FindBar::searchFailed(const Search *from)
{
    if (from != search.get())
        return;
    search.reset();
    pendingStep = 0;
    lbCount->setText(tr("Za mało pamięci"));
}

void FindBar::firstFound(const Search *from, qsizetype id)
{
    if (from != search.get() || pendingStep != 0)
        return;
    if (!preview->field(id))
        preview->swichPage(preview->pageOf(id) + 1);
    preview->selectField(id);
}

void FindBar::allFound(const Search *from, std::vector<qsizetype> ids)
{
    if (from != search.get())
        return;
    search.reset();
    found = std::move(ids);
    stale = false;
    const qsizetype selected = selectedId();
    current = selected >= 0 && std::binary_search(found.cbegin(), found.cend(), selected)
                  ? std::lower_bound(found.cbegin(), found.cend(), selected) - found.cbegin()
                  : -1;
    if (pendingStep != 0) {
        const bool forward = pendingStep > 0;
        pendingStep = 0;
        findNext(forward);
        return;
    }
    showCount();
}

qsizetype FindBar::selectedId() const
{
    if (preview->selectionCount() == 0)
        return -1;
    const QList<MyGraphicsItem *> &items = preview->fields();
    const auto selected = std::find_if(items.cbegin(), items.cend(),
                                       [](const MyGraphicsItem *item) { return item->isSelected(); });
    return selected != items.cend() ? (*selected)->fieldId() : -1;
}

bool FindBar::findNext(bool forward)
{
    if (stale && searchBeside() && !leQuery->text().isEmpty()) {
        // Taken once the search beside the window has found every field.
        pendingStep = forward ? 1 : -1;
        if (!search)
            startSearch(false);
        return true;
    }
    const std::vector<qsizetype> &all = matches();
    if (all.empty()) {
        current = -1;
        showCount();
        return false;
    }
    const qsizetype selected = selectedId();
    std::vector<qsizetype>::const_iterator to;
    if (forward) {
        to = selected >= 0 ? std::upper_bound(all.cbegin(), all.cend(), selected)
                           : std::lower_bound(all.cbegin(), all.cend(), preview->firstShownId());
        if (to == all.cend())
            to = all.cbegin();
    } else {
        const qsizetype end = selected >= 0 ? selected : preview->firstShownId() + preview->fields().size();
        to = std::lower_bound(all.cbegin(), all.cend(), end);
        to = to == all.cbegin() ? all.cend() - 1 : to - 1;
    }
    current = to - all.cbegin();
    const qsizetype id = *to;
    if (!preview->field(id))
        preview->swichPage(preview->pageOf(id) + 1);
    preview->selectField(id);
    showCount();
    return true;
}

void FindBar::queryChanged()
{
    stale = true;
    cancelSearch();
    pendingStep = 0;
    if (leQuery->text().isEmpty()) {
        showCount();
        return;
    }
    if (searchBeside()) {
        startSearch(true);
        return;
    }
    // Typing finds from the selected field on, the selected field included.
    const std::vector<qsizetype> &all = matches();
    const qsizetype selected = selectedId();
    if (selected >= 0 && std::binary_search(all.cbegin(), all.cend(), selected)) {
        current = std::lower_bound(all.cbegin(), all.cend(), selected) - all.cbegin();
        showCount();
        return;
    }
    findNext(true);
}

void FindBar::showCount()
{
    if (leQuery->text().isEmpty()) {
        lbCount->clear();
        return;
    }
    if (stale && searchBeside()) {
        if (!search)
            startSearch(false);
        return;
    }
    const std::vector<qsizetype> &all = matches();
    if (all.empty())
        lbCount->setText(tr("Nie znaleziono"));
    else if (current < 0)
        lbCount->setText(tr("Znaleziono: %1").arg(all.size()));
    else
        lbCount->setText(tr("%1 z %2").arg(current + 1).arg(all.size()));
}

void FindBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (leReplacement->hasFocus() && !(event->modifiers() & Qt::ShiftModifier)) {
            replaceOne();
            return;
        }
        findNext(!(event->modifiers() & Qt::ShiftModifier));
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool FindBar::replacement(QString &text)
{
    const QString typed = leReplacement->text();
    // A control character (pasted: a line edit takes no typed one) would end
    // or break the field's line in the file, or be lost on saving. A tab is
    // kept: the descriptions file and a project hold it as it is.
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const char16_t c = typed.at(i).unicode();
        if ((c < 0x20 && c != u'\t') || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
            leReplacement->setSelection(int(i), 1);
            Prompts::current().message(QMessageBox::Warning, tr("Zamiana"),
                                       tr("Tekst zamiany zawiera znak sterujący (U+%1), którego pole nie "
                                          "może zawierać: zapis pliku by go zgubił.\nNic nie zamieniono; "
                                          "usuń go (nową linię w polu oznacza „@”).")
                                           .arg(QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper()));
            return false;
        }
    }
    qsizetype bad = -1;
    QByteArray ignored;
    if (!Windows1250::encode(typed, ignored, &bad)) {
        const char32_t c = Windows1250::characterAt(typed, bad);
        leReplacement->setSelection(int(bad), c > 0xFFFF ? 2 : 1);
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   tr("Tekst zamiany zawiera znak %1, którego nie można zapisać w kodowaniu "
                                      "Windows-1250.\nNic nie zamieniono; usuń go lub zastąp innym znakiem.")
                                       .arg(Windows1250::describe(c)));
        return false;
    }
    // "@" is a line break, as in the query.
    text = typed;
    text.replace(QLatin1Char('@'), QLatin1Char('\n'));
    return true;
}

void FindBar::replaceOne()
{
    QString with;
    if (leQuery->text().isEmpty() || !replacement(with))
        return;
    // The selected field changes only when it holds the query.
    if (const qsizetype selected = selectedId(); selected >= 0)
        preview->document()->replaceInFields({selected}, fieldQuery(), with, caseSensitivity(),
                                             cbWholeField->isChecked(), tr("Zamiana"));
    findNext(true);
}

qsizetype FindBar::replaceAll()
{
    QString with;
    if (leQuery->text().isEmpty() || !replacement(with))
        return -1;
    const QString query = fieldQuery();
    cancelSearch();
    pendingStep = 0;
    // The fields found, else found beside the window with the rest.
    const bool known = !stale;
    const std::vector<qsizetype> knownIds = known ? found : std::vector<qsizetype>();
    const qsizetype fields = preview->fieldCount();
    SheetDocument *document = preview->document();
    const Qt::CaseSensitivity cs = caseSensitivity();
    const bool wholeField = cbWholeField->isChecked();
    // What the result would take is weighed before anything changes; some
    // room is kept for the window and for saving.
    const qint64 room = memoryRoom() / 4 * 3;
    SheetDocument::Replacement prepared;
    const bool done = document->runLong(tr("Zamienianie w pasujących polach…"), [&](const std::atomic<bool> &cancelled) {
        std::vector<qsizetype> ids = knownIds;
        if (!known) {
            ids = document->allTexts().find(query, cs, wholeField, &cancelled);
            ids.erase(std::lower_bound(ids.begin(), ids.end(), fields), ids.end());
        }
        prepared = document->prepareReplace(ids, query, with, cs, wholeField, room, &cancelled);
    });
    if (!done || prepared.verdict == SheetDocument::Replacement::Verdict::Cancelled) {
        if (prepared.result)
            SheetDocument::freeBeside(std::move(*prepared.result));
        emit statusMessage(tr("Zamianę anulowano; nic nie zmieniono."));
        return -1;
    }
    if (prepared.verdict == SheetDocument::Replacement::Verdict::TooLarge) {
        constexpr qint64 mib = qint64(1) << 20;
        Prompts::current().message(
            QMessageBox::Warning, tr("Zamiana"),
            tr("Po zamianie teksty pól zajęłyby około %1 MB pamięci, a dostępne jest około %2 MB.\n"
               "Nic nie zamieniono; zamień krótszy tekst albo w mniejszej liczbie pól.")
                .arg((prepared.bytesNeeded + mib - 1) / mib)
                .arg(room / mib));
        return -1;
    }
    const qsizetype changed = document->commitReplace(std::move(prepared), tr("Zamień wszystko"));
    emit statusMessage(tr("Zamieniono; zmienione pola: %1.").arg(changed));
    return changed;
}
