#pragma once

#include "preview/printjob.h"
#include "preview/sheetlayout.h"

#include <QFont>
#include <QGraphicsView>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QUndoStack>

#include <memory>
#include <vector>

class FontCommand;
class MyGraphicsItem;
class QGraphicsItem;
class QGraphicsScene;

// The label sheet: reads the descriptions file, lays the barettes out on pages
// for the chosen printer's printable area, builds one scene per page, and turns
// clicks into a selection that the font commands work on.
//
// Field ids run 0, 1, 2, ... over all pages (page by page, row by row, column
// by column, header before its labels); items[id] and fonts[id] belong to the
// field with that id and id is the line of its text in a descriptions file.
class Preview : public QGraphicsView
{
    Q_OBJECT

public:
    static inline const QString builtInPdfName = QStringLiteral("PDF WBUDOWANA");
    static constexpr QRectF builtInPdfArea = PrintJob::builtInPdfArea;

    explicit Preview(QWidget *parent = nullptr);
    ~Preview() override;

    // No pages are built until the main window has finished its construction.
    bool generationEnabled = false;
    // Remembered font per field id; carries fonts of selected fields across rebuilds.
    QList<QFont> fonts;
    // The descriptions file that readFile() reads.
    QString filePath;
    // A rebuild still running after this many milliseconds shows a progress window.
    int progressDelayMs = 400;
    // The most memory a sheet may take; 0 means the machine's memory.
    qint64 memoryLimit = 0;
    // Zoom steps: from the fitted page (1) up to about 29 times its size.
    static constexpr int maxZoomLevel = 25;

    // Reads filePath into barette groups and recounts the pages; does not
    // rebuild. A file that is not a regular text file, or whose sheet would
    // not fit in memory, is refused with a message; above
    // DescriptionsCheck::largeSheetBarettes the user is asked first. Returns
    // false when the current sheet was kept (refused or declined): filePath
    // then names the file shown again.
    bool readFile();
    // Asks for a file and writes every field's current text to it.
    void exportDescriptions();
    // Rebuilds every page from the texts and the remembered fonts.
    void generatePages();
    // Before writing the sheet out (export, project): false, after telling
    // the user why, when the file has texts but no barette fits on a page,
    // so that there are no fields to write.
    bool checkSheetHasFields();

    const SheetLayout &layout() const { return sheet; }
    const QList<QStringList> &barettes() const { return texts; }
    const QList<MyGraphicsItem *> &fields() const { return items; }
    qsizetype pageCount() const { return pages.size(); }
    QGraphicsScene *page(qsizetype index) const { return pages.value(index); }
    int lastPageIndex() const { return lastPage; }
    int currentPage() const { return currentPageIndex; }
    int selectionCount() const { return selectedCount; }
    // The pixel size shared by the fields the next font command acts on (the
    // selected ones, or all with nothing selected); the default size when
    // they differ or there are none.
    int sharedPixelSize() const;
    int zoomStep() const { return zoomLevel; }
    int zoomPercent() const;
    const QString &printer() const { return printerName; }

    // The edits of the fields (edit dialog, drops, font commands), for undo.
    // Every rebuild of the pages empties it.
    QUndoStack *undoStack() { return &history; }
    // A field reports an edit it has made (`what` names it for undo): kept
    // on the undo stack unless it changed nothing.
    void fieldEdited(MyGraphicsItem *field, const QString &oldText, const QFont &oldFont, const QString &what);

signals:
    void updatePathToFile(QString path);
    void updatePagesCount(int pagesCount);
    void selectedId(int id, QFont font);
    void deselectedId(int id);
    void zoomChanged(int zoom);
    // The sheet was rebuilt or its selection became empty: `pixelSize` is
    // sharedPixelSize(), what the font tool bar should show now.
    void sharedFontSize(int pixelSize);
    // Something the user should know about the sheet, for the status bar.
    void statusMessage(QString message);

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
    void saveProject();
    void openProject();
    void openProject(QString path);

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    // Whether the descriptions file at `path` may be read: asks before a very
    // large sheet, refuses (with a message) what is no descriptions file.
    bool mayRead(const QString &path);
    // Whether a PDF or an export may be written to `path`: not when it is one
    // of the sheet's own files (its texts file, the project last opened or
    // saved, by device and inode), which is refused with a message.
    bool mayReplace(const QString &path);
    // The current field texts as a descriptions file; false, with a message
    // naming the field and character, when one cannot be written.
    bool fieldTextsFile(QByteArray &bytes);
    void countPages();
    QGraphicsScene *generatePage(int p);
    void discardPages();
    void printPages(int first, int last);
    void showCurrentPage();
    // Unselects every field; with `report`, tells what size the font tool
    // bar should show when something was selected.
    void clearSelection(bool report = true);
    void toggle(MyGraphicsItem *item);
    void reportZoom();
    void runFontCommand(std::unique_ptr<FontCommand> command);

    QList<QGraphicsScene *> pages;
    QList<QStringList> texts;
    QList<MyGraphicsItem *> items;
    std::vector<QGraphicsItem *> created;   // every item of every page, in creation order
    SheetLayout sheet;
    QString printerName;
    int lastPage = 0;
    int currentPageIndex = 0;
    int selectedCount = 0;
    int nextId = 0;
    int anchorId = -1;   // none yet
    QString readPath;    // the file the texts came from
    QString ownProject;  // the project last opened or saved
    int zoomLevel = 1;
    QUndoStack history;
};
