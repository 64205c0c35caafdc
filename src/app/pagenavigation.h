#pragma once

#include <QCoreApplication>
#include <QObject>

class PageIndicator;
class Preview;
class QAction;
class QLabel;
class QMainWindow;
class QPushButton;
class QStatusBar;
class QToolBar;
class QToolButton;

// The pages and the zoom of the sheet: the page buttons and indicator, the
// page keys, the fields that do not fit (the status bar's button, F3), the
// zoom buttons, keys and label. It speaks in the window's words (the
// translation context MainWindow).
class PageNavigation : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    PageNavigation(QMainWindow *window, Preview *preview);

    // The page keys, on the window: a button's shortcut animates a click and
    // drops the presses that come during it.
    void createPageKeys();
    // Ctrl++, Ctrl+- and Ctrl+0 (fit) for the sheet's zoom, on the window.
    void createZoomKeys();
    void addPageButtons(QToolBar *navigationToolBar);
    void addZoomButtons(QToolBar *zoomToolBar);
    QLabel *zoomLabel() const { return lbZoom; }
    QToolButton *overflowButton() const { return pbOverflow; }
    // Every text again, in the new language.
    void retranslate();

    // Shows the page of the next field that does not fit (or the previous
    // one) and selects it.
    void showOverflowing(bool forward);
    // "Nie mieści się: N pól" in the status bar, hidden while all fit.
    void showOverflowCount(qsizetype count);
    void showPreviousPage();
    void showNextPage();
    void updatePagesCount(int pages);
    void zoomIn();
    void zoomOut();
    void zoomChanged(int zoom);

private:
    void showPageIndicator();
    // Shows page `page` (counted from 1), kept within the sheet.
    void showPage(int page);
    QStatusBar *statusBar() const;

    QMainWindow *window;
    Preview *preview;
    QAction *zoomInAct = nullptr;
    QAction *zoomOutAct = nullptr;
    QAction *zoomFitAct = nullptr;
    QAction *previousPageAct = nullptr;
    QAction *nextPageAct = nullptr;
    QAction *firstPageAct = nullptr;
    QAction *lastPageAct = nullptr;
    QAction *goToPageAct = nullptr;
    QPushButton *pbPreviousPage = nullptr;
    QPushButton *pbNextPage = nullptr;
    PageIndicator *lbPage = nullptr;
    int currentPage = 1;
    int pagesCount = 1;
    QPushButton *pbZoomIn = nullptr;
    QPushButton *pbZoomOut = nullptr;
    QPushButton *pbZoomReset = nullptr;
    QLabel *lbZoom = nullptr;
    int shownZoom = 0;   // the zoom lbZoom shows; 0 before the first change
    QToolButton *pbOverflow = nullptr;
};
