#include "app/seriesfill.h"

#include "dialogs/seriesdialog.h"
#include "document/seriespattern.h"
#include "document/sheetdocument.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"

#include <QAction>
#include <QWidget>

SeriesFill::SeriesFill(QWidget *window, Preview *preview)
    : QObject(window)
    , preview(preview)
    , fillAct(new QAction(window))
{
    fillAct->setObjectName(QStringLiteral("fillSeriesAct"));
    retranslate();
    connect(fillAct, &QAction::triggered, this, &SeriesFill::fill);
    // Offered while fields are selected.
    connect(preview, &Preview::selectedId, this, &SeriesFill::updateEnabled);
    connect(preview, &Preview::sharedFontSize, this, &SeriesFill::updateEnabled);
    connect(preview, &Preview::pageShown, this, &SeriesFill::updateEnabled);
    updateEnabled();
}

void SeriesFill::retranslate()
{
    fillAct->setText(tr("Wypełnij &serią…"));
    fillAct->setStatusTip(tr("Wpisuje do zaznaczonych pól kolejne wartości wzoru z licznikami, np. Q{0}.{0-7}"));
}

void SeriesFill::updateEnabled()
{
    fillAct->setEnabled(preview->selectionCount() > 0);
}

std::vector<qsizetype> SeriesFill::run(qsizetype first, qsizetype count, bool skipHeaders) const
{
    const qsizetype perBarette = preview->layout().labelsPerBarette + 1;
    const qsizetype end = preview->fieldCount();
    std::vector<qsizetype> ids;
    for (qsizetype id = first; id < end && qsizetype(ids.size()) < count; ++id) {
        if (!skipHeaders || id % perBarette != 0)
            ids.push_back(id);
    }
    return ids;
}

bool SeriesFill::fill()
{
    std::vector<qsizetype> ids = preview->selectedIds();
    if (ids.empty()) {
        emit statusMessage(tr("Zaznacz pola, które ma wypełnić seria."));
        return false;
    }
    const qsizetype first = ids.front();
    const qsizetype perBarette = preview->layout().labelsPerBarette + 1;
    const bool onLabel = first % perBarette != 0;
    // A run from one field: at first to the end of its barette.
    const qsizetype toBaretteEnd = perBarette - first % perBarette;
    SeriesDialog dialog(qsizetype(ids.size()), preview->fieldCount() - first, toBaretteEnd, onLabel, lastPattern,
                        preview->window());
    if (Prompts::current().runDialog(dialog) != QDialog::Accepted)
        return false;
    lastPattern = dialog.pattern();
    const SeriesPattern series(lastPattern);
    if (!series.isValid())
        return false;
    if (ids.size() == 1)
        ids = run(first, dialog.count(), dialog.skipHeaders());
    if (preview->document()->writeSeries(ids, series, tr("Wypełnienie serią")) < 0) {
        emit statusMessage(tr("Wypełnianie serią anulowano; nic nie zmieniono."));
        return false;
    }
    emit statusMessage(tr("Wypełniono serią; wypełnione pola: %1.").arg(ids.size()));
    return true;
}
