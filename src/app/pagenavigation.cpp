#include "app/pagenavigation.h"

#include "app/pageindicator.h"
#include "app/smallbuttons.h"
#include "printing/fittracker.h"
#include "sheet/preview.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

PageNavigation::PageNavigation(QMainWindow *window, Preview *preview)
    : QObject(window)
    , window(window)
    , preview(preview)
{
    lbPage = new PageIndicator;
    lbPage->setObjectName(QStringLiteral("lbPage"));
    pbPreviousPage = iconButton(QStringLiteral("pbPreviousPage"), ":/icons/arrow-left.png", QSize(15, 15));
    pbNextPage = iconButton(QStringLiteral("pbNextPage"), ":/icons/arrow-right.png", QSize(15, 15));

    pbZoomOut = iconButton(QStringLiteral("pbZoomOut"), ":/icons/Zoom-Minus-icon.png", QSize(20, 20));
    pbZoomReset = smallButton(QStringLiteral("pbZoomReset"), QSize(50, 25));
    pbZoomReset->setText(tr("100%"));
    pbZoomIn = iconButton(QStringLiteral("pbZoomIn"), ":/icons/Zoom-Plus-icon.png", QSize(20, 20));

    lbZoom = new QLabel(tr("Powiększenie: 100 %"));
    lbZoom->setObjectName(QStringLiteral("lbZoom"));
    pbOverflow = new QToolButton;
    pbOverflow->setObjectName(QStringLiteral("pbOverflow"));
    pbOverflow->setAutoRaise(true);
    pbOverflow->setToolTip(tr("Pokaż następne pole, które się nie mieści (F3; poprzednie: Shift+F3)"));
    pbOverflow->hide();
    connect(pbOverflow, &QToolButton::clicked, this, [this] { showOverflowing(true); });
    connect(preview, &Preview::updatePagesCount, this, &PageNavigation::updatePagesCount);
    connect(preview, &Preview::zoomChanged, this, &PageNavigation::zoomChanged);
    // The keyboard moves the selection onto other pages too.
    connect(preview, &Preview::pageShown, this, [this](int index) {
        currentPage = index + 1;
        showPageIndicator();
    });
    connect(preview, &Preview::overflowCountChanged, this, &PageNavigation::showOverflowCount);
    connect(pbPreviousPage, &QPushButton::clicked, this, &PageNavigation::showPreviousPage);
    connect(pbNextPage, &QPushButton::clicked, this, &PageNavigation::showNextPage);
    connect(pbZoomOut, &QPushButton::clicked, this, &PageNavigation::zoomOut);
    connect(pbZoomReset, &QPushButton::clicked, preview, &Preview::zoomReset);
    connect(pbZoomIn, &QPushButton::clicked, this, &PageNavigation::zoomIn);
}

void PageNavigation::createPageKeys()
{
    struct PageKey
    {
        QAction *&action;
        QKeySequence keys;
        void (PageNavigation::*slot)();
    };
    const PageKey pageKeys[] = {
        {previousPageAct, QKeySequence(Qt::Key_PageUp), &PageNavigation::showPreviousPage},
        {nextPageAct, QKeySequence(Qt::Key_PageDown), &PageNavigation::showNextPage},
        // Home and End alone belong to the sheet: the first and last field.
        {firstPageAct, QKeySequence(Qt::CTRL | Qt::Key_Home), nullptr},
        {lastPageAct, QKeySequence(Qt::CTRL | Qt::Key_End), nullptr},
        {goToPageAct, QKeySequence(tr("Ctrl+G")), nullptr},
    };
    for (const PageKey &k : pageKeys) {
        k.action = new QAction(window);
        k.action->setShortcut(k.keys);
        window->addAction(k.action);
        if (k.slot)
            connect(k.action, &QAction::triggered, this, k.slot);
    }
    connect(firstPageAct, &QAction::triggered, this, [this] { showPage(1); });
    connect(lastPageAct, &QAction::triggered, this, [this] { showPage(pagesCount); });
    connect(goToPageAct, &QAction::triggered, lbPage, &PageIndicator::startEditing);
    connect(lbPage, &PageIndicator::pageRequested, this, &PageNavigation::showPage);
}

void PageNavigation::addPageButtons(QToolBar *navigationToolBar)
{
    navigationToolBar->addWidget(pbPreviousPage);
    navigationToolBar->addWidget(lbPage);
    navigationToolBar->addWidget(pbNextPage);
}

void PageNavigation::addZoomButtons(QToolBar *zoomToolBar)
{
    zoomToolBar->addWidget(pbZoomOut);
    zoomToolBar->addWidget(pbZoomReset);
    zoomToolBar->addWidget(pbZoomIn);
}

void PageNavigation::retranslate()
{
    zoomInAct->setText(tr("Powiększ"));
    zoomOutAct->setText(tr("Pomniejsz"));
    zoomFitAct->setText(tr("Dopasuj stronę do okna"));
    pbZoomIn->setToolTip(tr("Powiększ (Ctrl++)"));
    pbZoomOut->setToolTip(tr("Pomniejsz (Ctrl+-)"));
    pbZoomReset->setToolTip(tr("Dopasuj stronę do okna (Ctrl+0)"));
    lbZoom->setText(shownZoom == 0 ? tr("Powiększenie: 100 %") : tr("Powiększenie: +%1%").arg(shownZoom - 100));
    pbOverflow->setToolTip(tr("Pokaż następne pole, które się nie mieści (F3; poprzednie: Shift+F3)"));
    showOverflowCount(preview->overflowCount());
}

QStatusBar *PageNavigation::statusBar() const
{
    return window->statusBar();
}

void PageNavigation::showPageIndicator()
{
    lbPage->showPages(currentPage, pagesCount);
}

void PageNavigation::showPage(int page)
{
    page = qBound(1, page, pagesCount);
    if (page == currentPage)
        return;
    currentPage = page;
    preview->swichPage(currentPage);
    showPageIndicator();
}

void PageNavigation::showOverflowing(bool forward)
{
    const qsizetype id = preview->nextOverflowing(forward);
    if (id < 0) {
        statusBar()->showMessage(tr("Wszystkie pola mieszczą się w ramkach."), 10000);
        return;
    }
    showPage(preview->pageOf(id) + 1);
    preview->selectField(id);
}

void PageNavigation::showOverflowCount(qsizetype count)
{
    pbOverflow->setVisible(count > 0);
    if (count > 0)
        pbOverflow->setText(tr("Nie mieści się: %1").arg(FitTracker::fieldsText(count)));
}

void PageNavigation::showPreviousPage()
{
    showPage(currentPage - 1);
}

void PageNavigation::showNextPage()
{
    showPage(currentPage + 1);
}

void PageNavigation::updatePagesCount(int pages)
{
    pagesCount = pages + 1;
    // The preview brings its own page back into range in the same way, so the
    // two never disagree about the page shown.
    if (currentPage > pagesCount)
        currentPage = pagesCount;
    showPageIndicator();
}

void PageNavigation::zoomIn()
{
    preview->zoomIn();
}

void PageNavigation::zoomOut()
{
    preview->zoomOut();
}

void PageNavigation::createZoomKeys()
{
    // On the window, like the page keys. Ctrl+= is the unshifted key of "+"
    // on many keyboards.
    zoomInAct = new QAction(tr("Powiększ"), window);
    zoomInAct->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomOutAct = new QAction(tr("Pomniejsz"), window);
    zoomOutAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    zoomFitAct = new QAction(tr("Dopasuj stronę do okna"), window);
    zoomFitAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    window->addActions({zoomInAct, zoomOutAct, zoomFitAct});
    connect(zoomInAct, &QAction::triggered, this, &PageNavigation::zoomIn);
    connect(zoomOutAct, &QAction::triggered, this, &PageNavigation::zoomOut);
    connect(zoomFitAct, &QAction::triggered, preview, &Preview::zoomReset);
    pbZoomIn->setToolTip(tr("Powiększ (Ctrl++)"));
    pbZoomOut->setToolTip(tr("Pomniejsz (Ctrl+-)"));
    pbZoomReset->setToolTip(tr("Dopasuj stronę do okna (Ctrl+0)"));
}

void PageNavigation::zoomChanged(int zoom)
{
    shownZoom = zoom;
    lbZoom->setText(tr("Powiększenie: +%1%").arg(zoom - 100));
}
