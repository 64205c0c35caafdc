#pragma once

#include "document/sheetdocument.h"
#include "files/descriptionscheck.h"
#include "layout/sheetlayout.h"
#include "printing/fittracker.h"
#include "printing/printjob.h"

#include <QFont>
#include <QGraphicsView>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QUndoStack>


class FileLook;
class MyGraphicsItem;
class QGraphicsItem;
class QGraphicsScene;

// The label sheet in the window: lays the document's barettes out on pages
// for the chosen printer's printable area, shows one page at a time, and
// turns clicks and keys into a selection that the font commands work on.
//
// The texts and fonts live in the sheet's document (document()); the page
// on screen is only a view of it, built when it is shown. A new layout
// (printer, geometry, label count) moves fields, never changes what they
// hold, and keeps what there is to undo.
//
// Field ids run 0, 1, 2, ... over all pages (page by page, row by row, column
// by column, header before its labels); id is the line of the field's text in
// a descriptions file.
//
// Its members are in three files: preview.cpp (the pages, the layout, the
// font commands, zoom and printing), previewselection.cpp (the selection and
// its keys) and previewfiles.cpp (reading, the exports and the projects).
class Preview : public QGraphicsView
{
    Q_OBJECT

public:
    static inline const QString builtInPdfName = QStringLiteral("PDF WBUDOWANA");
    // What is printed or sent: "1 stronę", "2 strony", "5 stron", "22 strony".
    static QString pagesText(int count);
    static constexpr QRectF builtInPdfArea = PrintJob::builtInPdfArea;

    explicit Preview(QWidget *parent = nullptr);
    ~Preview() override;

    // No pages are built until the main window has finished its construction.
    bool generationEnabled = false;
    // The descriptions file that readFile() reads.
    QString filePath;
    // A print still running after this many milliseconds shows a progress window.
    int progressDelayMs = 400;
    // Whether printouts carry the marks: the fit tints and the frame of the
    // printable area.
    bool printMarks = true;
    // A job of more pages than this on a printer is confirmed first.
    static constexpr int largeJobPages = 20;
    // The most memory a sheet may take; 0 means the machine's memory.
    qint64 memoryLimit = 0;
    // Zoom steps: from the fitted page (1) up to about 29 times its size.
    static constexpr int maxZoomLevel = 25;

    // Reads filePath into the document and recounts the pages; does not
    // build the page. With `keepFonts` every field keeps its font (the
    // editor saved the file), else all take the default font (an import).
    // A file that is not a regular text file, or whose sheet would not fit
    // in memory, is refused with a message; above
    // DescriptionsCheck::largeSheetBarettes the user is asked first. Returns
    // false when the current sheet was kept (refused, declined, or an import
    // of a file that could not be read): filePath
    // then names the file shown again. `look`: the look the command that
    // chose the file took at filePath (files/filelook.h), which the check and
    // the read then take; none: one is taken here.
    bool readFile(bool keepFonts = true, FileLook *look = nullptr);
    // Asks for a file and writes every field's current text to it.
    void exportDescriptions();
    // Asks for a file and writes the sheet's texts as CSV, one row a barette
    // (see SheetExport::csv).
    void exportCsv();
    // The texts of an imported spreadsheet (`source`, empty for pasted cells)
    // in place of the document, every field in the default font; recounts
    // the pages. The caller has checked their number.
    void loadSheet(QStringList texts, const QString &source);
    // The texts of the sheet's workbook read again into the sheet as it is
    // (a project's): every field keeps its font, the project stays, and the
    // sheet is unsaved when a text changed.
    void rereadSheet(QStringList texts);
    // A sheet brought back from a recovery copy: these texts and fonts, read
    // from `source`, saved to `projectPath` by Ctrl+S; unsaved.
    void restoreSheet(SheetTexts texts, const QList<QFont> &fonts, const QString &source,
                      const QString &projectPath);
    // Builds the page shown from the document (after a read or a new layout).
    void generatePages();
    // Before writing the sheet out (export, project): false, after telling
    // the user why, when the file has texts but no barette fits on a page,
    // so that there are no fields to write.
    bool checkSheetHasFields();

    SheetDocument *document() { return &doc; }
    const SheetDocument *document() const { return &doc; }
    const SheetLayout &layout() const { return sheet; }
    // The fields of the page shown, in id order (the first is firstShownId()).
    const QList<MyGraphicsItem *> &fields() const { return items; }
    qsizetype firstShownId() const { return shownFirstId; }
    // The field item of `id` when its page is shown, else null.
    MyGraphicsItem *field(qsizetype id) const;
    // Every field of the sheet: barettes times (labels + 1); none while no
    // barette fits on a page.
    qsizetype fieldCount() const;
    // Asks "Plik zawiera N baretek (M stron). Wczytać?" about the sheet
    // `check` describes; true when the user answers yes.
    static bool mayBuildLarge(const DescriptionsCheck::Result &check, bool pasted = false);
    // Barettes of the texts read, the last one completed with empty fields.
    qsizetype baretteCount() const { return doc.baretteCount(sheet.labelsPerBarette); }
    qsizetype pageCount() const { return generated ? lastPage + 1 : 0; }
    // The scene of the page shown when `index` is it, else null.
    QGraphicsScene *page(qsizetype index) const { return index == currentPageIndex ? shown : nullptr; }
    int lastPageIndex() const { return lastPage; }
    int currentPage() const { return currentPageIndex; }
    int selectionCount() const { return selectedCount; }
    // The selected fields' ids, ascending: in reading order, as the fields
    // of the page shown are numbered.
    std::vector<qsizetype> selectedIds() const;
    // The pixel size shared by the fields the next font command acts on (the
    // selected ones, or all with nothing selected); the default size when
    // they differ or there are none.
    int sharedPixelSize() const;
    int zoomStep() const { return zoomLevel; }
    int zoomPercent() const;
    const QString &printer() const { return printerName; }
    // The project the sheet was opened from or last saved as; empty when none.
    const QString &projectPath() const { return project; }

    // Fields of the sheet whose text does not fit their frames.
    qsizetype overflowCount() { return fitTracker.count(); }
    // Whether field `id`'s text fits its frame (measured when not known yet).
    bool fieldFits(qsizetype id) { return fitTracker.countIn(id, id) == 0; }
    // The field the keyboard is on (last clicked or reached by a key); -1 when none.
    qsizetype currentFieldId() const { return anchorId; }
    // The field that does not fit next after the selected one (forward) or
    // before it, going round the sheet; with nothing selected, the first
    // from the start of the page shown (forward) or the last from its end.
    // -1 when every field fits.
    qsizetype nextOverflowing(bool forward);
    // The page (from 0) that holds field `id`.
    int pageOf(qsizetype id) const;
    // Selects field `id` alone, when its page is shown, and scrolls to it.
    void selectField(qsizetype id);
    // Opens "Edycja opisu" for the selected field (Enter, F2), the first of
    // several; false when none is selected.
    bool editSelectedField();

    // The edits of the fields (edit dialog, drops, font commands), for undo.
    QUndoStack *undoStack() { return doc.undoStack(); }

    // Prints the pages `pageIndexes` (from 0, in that order) `copies` times,
    // collated, on the chosen printer or into a PDF; a printer job of more
    // than largeJobPages pages is confirmed first, and so is a print with
    // fields whose text does not fit. Nothing is printed when an index lies
    // outside the sheet.
    void printPages(const QList<int> &pageIndexes, int copies);

signals:
    void updatePathToFile(QString path);
    // The sheet was saved as, or opened from, the project at `path`.
    void projectWritten(const QString &path);
    void projectRead(const QString &path);
    void updatePagesCount(int pagesCount);
    void selectedId(int id, QFont font);
    void deselectedId(int id);
    void zoomChanged(int zoom);
    // The page shown is now `index` (from 0): a page switch, or the keyboard
    // taking the selection onto another page.
    void pageShown(int index);
    // The sheet was rebuilt or its selection became empty: `pixelSize` is
    // sharedPixelSize(), what the font tool bar should show now.
    void sharedFontSize(int pixelSize);
    // Something the user should know about the sheet, for the status bar.
    void statusMessage(QString message);
    // How many fields do not fit, once all are measured; -1 while a whole
    // sheet is being measured again.
    void overflowCountChanged(qsizetype count);
    // The field menu is asked for at `globalPos`: a right click on a field,
    // the Menu key or Shift+F10, after the field was selected (a field
    // already selected keeps the selection).
    void fieldMenuRequested(QPoint globalPos);

public slots:
    // The geometry slots take only what the geometry panel could send and
    // refuse the rest (returning false, with a status message): lengths above
    // 0 and up to 100 mm, 5 to 15 labels, an area on the A4 paper.
    bool setAvailableArea(QRectF dimensions);
    void printAll();
    void printCurrent();
    void swichPage(int pageNr);
    void setPrinter(QString p);
    void zoomIn();
    void zoomOut();
    void zoomReset();
    void zoomResize();
    bool updateDimensions(QRectF LABEL, QRectF HEADER);
    void setGlobalFont(QFont newFont);
    bool setLabelsPerBarette(int count);
    void updatePreview();
    void clickedItem(int id, QFont font, bool shift, bool ctrl);
    void changeFontFamily(QString name);
    void changeFontPixelSize(int pixelSize);
    void changeFontBold();
    void changeFontItalic();
    void changeFontUnderline();
    // "Dopasuj rozmiar" on the selected fields, or on every field when none
    // is selected; tells in the status bar what it did.
    void fitSize();
    // Saves to the project the sheet has, or asks for one; true when saved.
    bool saveProject();
    // Always asks for the project's name; true when saved.
    bool saveProjectAs();
    void openProject();
    // False when the project could not be opened (the sheet stays as it was).
    // `look`: the look the command that chose the file took at `path`.
    bool openProject(QString path, FileLook *look = nullptr);

protected:
    void wheelEvent(QWheelEvent *event) override;
    // The keys of the selection: the arrows move it to the neighbouring
    // field (SheetLayout::neighbour), onto another page when the neighbour
    // is there; Home and End to the first and last field of the page; with
    // Shift each extends it on the page shown. Esc clears it; Enter and F2
    // edit the one selected field; the Menu key and Shift+F10 ask for the
    // field menu of the keyboard's field.
    void keyPressEvent(QKeyEvent *event) override;
    // A plain click beside the fields clears the selection, as Esc does.
    void mousePressEvent(QMouseEvent *event) override;
    // A right click on a field: fieldMenuRequested().
    void contextMenuEvent(QContextMenuEvent *event) override;
    // With the focus the sheet has a frame, and so has the field the
    // keyboard is on (MyGraphicsItem::paint).
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;

private:
    // Whether the descriptions file at `path` may be read: asks before a very
    // large sheet, refuses (with a message) what is no descriptions file.
    bool mayRead(FileLook &look);
    // Whether a PDF or an export may be written to `path`: not when it is one
    // of the sheet's own files (its texts file, the project last opened or
    // saved, by device and inode), which is refused with a message.
    bool mayReplace(const QString &path);
    // The current field texts as a descriptions file; false, with a message
    // naming the field and character, when one cannot be written.
    bool fieldTextsFile(QByteArray &bytes);
    // The text of every field of the sheet, the empty ones of the last barette included.
    QStringList fieldTexts() const;
    // Writes an export's `bytes` to `name` and says how it went.
    void writeExport(const QString &name, const QByteArray &bytes);
    // Where a save dialog starts: `folder`, with the name of the project, else
    // of the descriptions file, and `suffix`.
    QString suggestedName(const QString &folder, const QString &suffix) const;
    bool writeProject(const QString &path);
    void countPages();
    void buildShownPage();
    void discardShownPage();
    void printPages(int first, int last);
    void showFields(qsizetype first, qsizetype last);
    // Unselects every field; with `report`, tells what size the font tool
    // bar should show when something was selected.
    void clearSelection(bool report = true);
    void toggle(MyGraphicsItem *item);
    // An arrow key: one `step` from the field the keyboard is on, selecting
    // the neighbour alone or, with `extend`, adding it on the page shown.
    void stepSelection(SheetLayout::Step step, bool extend);
    // Shift+Home and Shift+End: adds every field of the page shown from the
    // keyboard's field to field `id`.
    void extendSelection(qsizetype id);
    // Shift+arrow onto field `id` of the page shown: selects the rectangle of
    // fields between the field where the run of Shift+arrows began and `id`.
    void extendRectangle(qsizetype id);
    void reportZoom();
    // Selects `item` unless it is selected, makes it the keyboard's field and
    // asks for the field menu at `globalPos`; null: the keyboard's field, the
    // menu over it.
    void requestFieldMenu(MyGraphicsItem *item, QPoint globalPos);
    void runFontCommand(int kind, int pixelSize, const QString &family, const QString &name);

    SheetDocument doc;
    SheetLayout sheet;
    FitTracker fitTracker{doc, sheet};
    QGraphicsScene *shown = nullptr;   // the page on screen
    QList<MyGraphicsItem *> items;     // its fields
    qsizetype shownFirstId = 0;
    QString printerName;
    QString project;
    bool generated = false;
    int lastPage = 0;
    int currentPageIndex = 0;
    int selectedCount = 0;
    // Shift+arrows select the rectangle from rectangleAnchor to the field
    // they reached last, rectangleCursor (-1 once anything else selects).
    int rectangleAnchor = -1;
    int rectangleCursor = -1;
    int anchorId = -1;   // the field last clicked or reached by a key; none yet
    QString readPath;    // the file the texts came from
    int zoomLevel = 1;
};
