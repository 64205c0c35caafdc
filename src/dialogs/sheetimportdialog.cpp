#include "dialogs/sheetimportdialog.h"

#include "system/plural.h"
#include "workbooks/workbookfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QColor headerTint(0xCF, 0xE2, 0xF3);
const QColor labelTint(0xD9, 0xEA, 0xD3);
} // namespace

SheetImportDialog::SheetImportDialog(Workbook workbook, const QString &title, const SheetMapping &initial,
                                     int labelsPerBarette, std::function<std::optional<Workbook>(char)> rereadWith,
                                     QWidget *parent)
    : QDialog(parent)
    , book(std::move(workbook))
    , labels(labelsPerBarette)
    , reread(std::move(rereadWith))
{
    setWindowTitle(tr("Importuj arkusz – %1").arg(title));

    cbSheet = new QComboBox;
    cbSheet->setObjectName(QStringLiteral("cbSheet"));
    for (const WorkbookSheet &s : std::as_const(book.sheets))
        cbSheet->addItem(WorkbookFile::shown(s.name));
    cbSheet->setCurrentIndex(std::max<qsizetype>(0, book.indexOf(initial.sheet)));
    cbDelimiter = new QComboBox;
    cbDelimiter->setObjectName(QStringLiteral("cbDelimiter"));
    cbDelimiter->addItem(tr("średnik ;"), int(';'));
    cbDelimiter->addItem(tr("przecinek ,"), int(','));
    cbDelimiter->addItem(tr("tabulator"), int('\t'));
    cbDelimiter->setCurrentIndex(std::max(0, cbDelimiter->findData(int(book.delimiter))));

    auto *top = new QFormLayout;
    top->addRow(tr("Arkusz:"), cbSheet);
    top->addRow(tr("Separator:"), cbDelimiter);
    cbSheet->setVisible(book.sheets.size() > 1);
    top->labelForField(cbSheet)->setVisible(book.sheets.size() > 1);
    cbDelimiter->setVisible(bool(reread));
    top->labelForField(cbDelimiter)->setVisible(bool(reread));

    rbRows = new QRadioButton(tr("Wiersz = bareta"));
    rbRows->setObjectName(QStringLiteral("rbRows"));
    rbColumn = new QRadioButton(tr("Kolumna = kolejne pola"));
    rbColumn->setObjectName(QStringLiteral("rbColumn"));
    (initial.layout == SheetMapping::Layout::Rows ? rbRows : rbColumn)->setChecked(true);

    cbHeaderColumn = new QComboBox;
    cbHeaderColumn->setObjectName(QStringLiteral("cbHeaderColumn"));
    cbColumn = new QComboBox;
    cbColumn->setObjectName(QStringLiteral("cbColumn"));
    leLabelColumns = new QLineEdit(CellAddress::columnName(initial.firstLabel) + QLatin1Char('-')
                                   + CellAddress::columnName(initial.lastLabel));
    leLabelColumns->setObjectName(QStringLiteral("leLabelColumns"));
    leLabelColumns->setToolTip(tr("Zakres kolumn etykiet, np. B-I; kliknięcie nagłówka kolumny wybiera kolumnę "
                                  "nagłówków, kliknięcie z Shift – ostatnią kolumnę etykiet"));
    cbKeepEmpty = new QCheckBox(tr("Puste wiersze jako puste baretki"));
    cbKeepEmpty->setObjectName(QStringLiteral("cbKeepEmpty"));
    cbKeepEmpty->setChecked(initial.keepEmptyRows);
    cbHeadings = new QCheckBox(tr("Pierwszy wiersz to nagłówki kolumn"));
    cbHeadings->setObjectName(QStringLiteral("cbHeadings"));
    cbHeadings->setChecked(initial.firstRowHeadings);

    auto *rowsBox = new QFormLayout;
    rowsBox->addRow(rbRows);
    rowsBox->addRow(tr("Kolumna nagłówków:"), cbHeaderColumn);
    rowsBox->addRow(tr("Kolumny etykiet:"), leLabelColumns);
    rowsBox->addRow(cbKeepEmpty);
    auto *columnBox = new QFormLayout;
    columnBox->addRow(rbColumn);
    columnBox->addRow(tr("Kolumna:"), cbColumn);
    auto *layouts = new QHBoxLayout;
    layouts->addLayout(rowsBox);
    layouts->addSpacing(24);
    layouts->addLayout(columnBox, 1);
    columnBox->setAlignment(Qt::AlignTop);

    grid = new QTableWidget;
    grid->setObjectName(QStringLiteral("grid"));
    grid->setAccessibleName(tr("Podgląd arkusza"));
    // Tab leaves the preview for the next control; the arrows move in it.
    grid->setTabKeyNavigation(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->setMinimumSize(640, 300);
    lbSummary = new QLabel;
    lbSummary->setObjectName(QStringLiteral("lbSummary"));
    lbSummary->setWordWrap(true);

    lbMarked = new QLabel;
    lbMarked->setObjectName(QStringLiteral("lbMarked"));
    lbMarked->setTextFormat(Qt::PlainText);
    lbMarked->setWordWrap(true);

    lbFormulas = new QLabel;
    lbFormulas->setObjectName(QStringLiteral("lbFormulas"));
    lbFormulas->setTextFormat(Qt::PlainText);
    lbFormulas->setWordWrap(true);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Importuj"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Anuluj"));

    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(layouts);
    main->addWidget(cbHeadings);
    main->addWidget(grid, 1);
    main->addWidget(lbSummary);
    main->addWidget(lbMarked);
    main->addWidget(lbFormulas);
    main->addWidget(buttons);

    fillSheet();
    cbHeaderColumn->setCurrentIndex(std::min(initial.headerColumn, cbHeaderColumn->count() - 1));
    cbColumn->setCurrentIndex(std::min(initial.column, cbColumn->count() - 1));
    updateState();

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cbSheet, &QComboBox::currentIndexChanged, this, [this](int index) {
        fillSheet();
        const auto left = leftWith.constFind(index);
        setControls(left != leftWith.cend() ? *left : SheetImport::guessMapping(currentSheet()));
        updateState();
    });
    connect(cbDelimiter, &QComboBox::currentIndexChanged, this, [this] {
        if (!reread)
            return;
        if (std::optional<Workbook> again = reread(char(cbDelimiter->currentData().toInt()))) {
            book = std::move(*again);
            fillSheet();
            updateState();
        } else {
            // Not read again (cancelled, or the file is gone): the box says
            // the delimiter the cells shown were read with.
            const QSignalBlocker blocker(cbDelimiter);
            cbDelimiter->setCurrentIndex(std::max(0, cbDelimiter->findData(int(book.delimiter))));
        }
    });
    for (QRadioButton *rb : {rbRows, rbColumn})
        connect(rb, &QRadioButton::toggled, this, &SheetImportDialog::updateState);
    for (QComboBox *cb : {cbHeaderColumn, cbColumn})
        connect(cb, &QComboBox::currentIndexChanged, this, &SheetImportDialog::updateState);
    for (QCheckBox *cb : {cbKeepEmpty, cbHeadings})
        connect(cb, &QCheckBox::toggled, this, &SheetImportDialog::updateState);
    connect(leLabelColumns, &QLineEdit::textChanged, this, &SheetImportDialog::updateState);
    connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &SheetImportDialog::columnHeadClicked);
}

const WorkbookSheet &SheetImportDialog::currentSheet() const
{
    static const WorkbookSheet none;
    const int index = cbSheet->currentIndex();
    return index >= 0 && index < book.sheets.size() ? book.sheets.at(index) : none;
}

void SheetImportDialog::fillSheet()
{
    updating = true;
    const WorkbookSheet &sheet = currentSheet();
    const int columns = int(std::clamp<qsizetype>(sheet.columnCount(), 2, shownColumns));
    const int rows = int(std::min<qsizetype>(sheet.rows.size(), shownRows));
    grid->clear();
    grid->setColumnCount(columns);
    grid->setRowCount(rows);
    QStringList heads;
    for (int c = 0; c < columns; ++c)
        heads.append(CellAddress::columnName(c));
    grid->setHorizontalHeaderLabels(heads);
    for (int r = 0; r < rows; ++r) {
        const QStringList &row = sheet.rows.at(r);
        for (int c = 0; c < columns && c < row.size(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(row.at(c)));
    }
    for (QComboBox *cb : {cbHeaderColumn, cbColumn}) {
        const int keep = cb->currentIndex();
        cb->clear();
        cb->addItems(heads);
        cb->setCurrentIndex(std::clamp(keep, 0, columns - 1));
    }
    updating = false;
}

void SheetImportDialog::setControls(const SheetMapping &m)
{
    updating = true;
    (m.layout == SheetMapping::Layout::Rows ? rbRows : rbColumn)->setChecked(true);
    cbHeaderColumn->setCurrentIndex(std::min(m.headerColumn, cbHeaderColumn->count() - 1));
    leLabelColumns->setText(CellAddress::columnName(m.firstLabel) + QLatin1Char('-') + CellAddress::columnName(m.lastLabel));
    cbColumn->setCurrentIndex(std::min(m.column, cbColumn->count() - 1));
    cbKeepEmpty->setChecked(m.keepEmptyRows);
    cbHeadings->setChecked(m.firstRowHeadings);
    updating = false;
}

SheetMapping SheetImportDialog::mapping() const
{
    SheetMapping m;
    m.layout = rbRows->isChecked() ? SheetMapping::Layout::Rows : SheetMapping::Layout::Column;
    m.sheet = currentSheet().name;
    m.headerColumn = std::max(0, cbHeaderColumn->currentIndex());
    if (const auto range = CellAddress::columnRange(leLabelColumns->text())) {
        m.firstLabel = range->first;
        m.lastLabel = range->second;
    }
    m.column = std::max(0, cbColumn->currentIndex());
    m.keepEmptyRows = cbKeepEmpty->isChecked();
    m.firstRowHeadings = cbHeadings->isChecked();
    m.delimiter = reread ? char(cbDelimiter->currentData().toInt()) : book.delimiter;
    return m;
}

void SheetImportDialog::columnHeadClicked(int column)
{
    if (rbColumn->isChecked()) {
        cbColumn->setCurrentIndex(column);
        return;
    }
    const SheetMapping m = mapping();
    if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) {
        if (column > m.headerColumn)
            leLabelColumns->setText(CellAddress::columnName(m.headerColumn + 1) + QLatin1Char('-')
                                    + CellAddress::columnName(column));
        return;
    }
    cbHeaderColumn->setCurrentIndex(column);
    leLabelColumns->setText(CellAddress::columnName(column + 1) + QLatin1Char('-')
                            + CellAddress::columnName(column + labels));
}

void SheetImportDialog::updateState()
{
    if (updating)
        return;
    const bool rows = rbRows->isChecked();
    cbHeaderColumn->setEnabled(rows);
    leLabelColumns->setEnabled(rows);
    cbKeepEmpty->setEnabled(rows);
    cbColumn->setEnabled(!rows);

    const SheetMapping m = mapping();
    leftWith.insert(cbSheet->currentIndex(), m);
    QString problem;
    const bool rangeOk = CellAddress::columnRange(leLabelColumns->text()).has_value();
    if (rows && !rangeOk)
        problem = tr("Podaj kolumny etykiet jako zakres, np. B-I.");
    else if (rows && m.labelColumns() > maxLabelColumns)
        problem = tr("Baretka ma najwyżej %1 etykiet, a wybrano %2.")
                      .arg(maxLabelColumns)
                      .arg(counted(m.labelColumns(), tr("%1 kolumnę", "one"), tr("%1 kolumny", "few"), tr("%1 kolumn", "many")));
    else if (rows && m.headerColumn >= m.firstLabel && m.headerColumn <= m.lastLabel)
        problem = tr("Kolumna nagłówków nie może być jedną z kolumn etykiet.");

    const WorkbookSheet &sheet = currentSheet();
    for (int c = 0; c < grid->columnCount(); ++c) {
        QColor tint;
        if (!rows && c == m.column)
            tint = labelTint;
        else if (rows && c == m.headerColumn)
            tint = headerTint;
        else if (rows && rangeOk && c >= m.firstLabel && c <= m.lastLabel)
            tint = labelTint;
        for (int r = 0; r < grid->rowCount(); ++r) {
            QTableWidgetItem *item = grid->item(r, c);
            if (!item && tint.isValid()) {
                item = new QTableWidgetItem;
                grid->setItem(r, c, item);
            }
            if (item)
                item->setBackground(tint.isValid() && !(m.firstRowHeadings && r == 0) ? QBrush(tint) : QBrush());
        }
    }

    if (problem.isEmpty()) {
        // 5 to 15 label columns may become the labels per barette (the
        // import asks); fewer fill the first labels of the barette's own.
        const int columns = m.labelColumns();
        const int perBarette = !rows ? labels : columns >= 5 ? columns : labels;
        const qsizetype fields = SheetImport::texts(sheet, m, perBarette).size();
        const qsizetype barettes = (fields + perBarette) / (perBarette + 1);
        if (!rows)
            lbSummary->setText(tr("Pól: %1, baretek: %2 po %3 etykiet.").arg(fields).arg(barettes).arg(labels));
        else if (columns < perBarette)
            lbSummary->setText(tr("Baretek: %1, etykiet na baretce: %2, z arkusza tylko %3; pozostałe będą puste "
                                  "(wierszy w arkuszu: %4).")
                                   .arg(barettes)
                                   .arg(perBarette)
                                   .arg(columns)
                                   .arg(sheet.rows.size()));
        else
            lbSummary->setText(tr("Baretek: %1, etykiet na baretce: %2 (wierszy w arkuszu: %3).")
                                   .arg(barettes)
                                   .arg(perBarette)
                                   .arg(sheet.rows.size()));
        showMarkedCells(sheet, m);
        showFormulaCells(sheet, m);
    } else {
        lbSummary->setText(problem);
        lbMarked->clear();
        lbFormulas->clear();
    }
    lbMarked->setVisible(!lbMarked->text().isEmpty());
    lbFormulas->setVisible(!lbFormulas->text().isEmpty());
    buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty() && !book.sheets.isEmpty());
}

void SheetImportDialog::showMarkedCells(const WorkbookSheet &sheet, const SheetMapping &m)
{
    constexpr qsizetype shown = 6;
    qsizetype total = 0;
    const QList<SheetImport::MarkedCell> cells = SheetImport::marked(sheet, m, shown, &total);
    if (cells.isEmpty()) {
        lbMarked->clear();
        return;
    }
    QStringList lines;
    for (const SheetImport::MarkedCell &cell : cells)
        lines.append(SheetImport::describe(sheet, cell));
    if (total > cells.size())
        lines.append(counted(total - cells.size(), tr("… i %1 inna", "one"), tr("… i %1 inne", "few"),
                             tr("… i %1 innych", "many")));
    lbMarked->setText(tr("W etykietach „@” to nowa linia, a „#”, „$”, „^” i „&” to symbole. Te komórki "
                         "zostaną wczytane tak:\n%1")
                          .arg(lines.join(QLatin1Char('\n'))));
}

void SheetImportDialog::showFormulaCells(const WorkbookSheet &sheet, const SheetMapping &m)
{
    constexpr qsizetype shown = 6;
    qsizetype total = 0;
    const QList<FormulaCell> cells = SheetImport::uncalculated(sheet, m, shown, &total);
    if (cells.isEmpty()) {
        lbFormulas->clear();
        return;
    }
    QStringList lines;
    for (const FormulaCell &cell : cells)
        lines.append(SheetImport::describe(sheet, cell));
    if (total > cells.size())
        lines.append(counted(total - cells.size(), tr("… i %1 inna", "one"), tr("… i %1 inne", "few"),
                             tr("… i %1 innych", "many")));
    lbFormulas->setText(tr("Te komórki zawierają formuły zapisane bez wyników (Lamello nie oblicza formuł), więc "
                           "byłyby puste:\n%1\nOtwórz skoroszyt w programie arkuszowym i zapisz go – wyniki "
                           "zostaną zapisane w pliku.")
                            .arg(lines.join(QLatin1Char('\n'))));
}
