#include "prompts/backgroundread.h"

#include "prompts/prompts.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <exception>
#include <limits>
#include <memory>

namespace {

// Keeps input away from the windows while a read runs, the progress dialog
// excepted; Ctrl+Q, or closing the window, cancels the read and closes the
// window once the read has stopped.
class InputGuard : public QObject
{
public:
    InputGuard(QWidget *window, QProgressDialog &dialog, std::atomic<bool> &cancelled)
        : window(window)
        , dialog(dialog)
        , cancelled(cancelled)
    {
        qApp->installEventFilter(this);
    }
    ~InputGuard() override { qApp->removeEventFilter(this); }

    bool closeAfter = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            if (isQuit(*static_cast<QKeyEvent *>(event))) {
                closeWindow();
                event->accept();
                return true;
            }
            return !inDialog(watched);
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return !inDialog(watched);
        case QEvent::Close:
            if (window && watched == window) {
                event->ignore();
                closeWindow();
                return true;
            }
            return false;
        default:
            return false;
        }
    }

private:
    // The window's "Zakończ" (Ctrl+Q), or the desktop's own key for it.
    static bool isQuit(const QKeyEvent &key)
    {
        return key.matches(QKeySequence::Quit) || key.keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Q);
    }
    bool inDialog(QObject *watched) const
    {
        for (QObject *o = watched; o; o = o->parent()) {
            if (o == &dialog)
                return true;
        }
        return false;
    }
    void closeWindow()
    {
        closeAfter = true;
        cancelled = true;
        dialog.cancel();
    }

    QPointer<QWidget> window;
    QProgressDialog &dialog;
    std::atomic<bool> &cancelled;
};

} // namespace

namespace BackgroundRead {

bool run(QWidget *parent, const QString &path, const std::function<void(const std::atomic<bool> &cancelled)> &read,
         const QString &label)
{
    std::atomic<bool> cancelled = false;
    std::atomic<bool> done = false;
    std::exception_ptr thrown;
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            read(cancelled);
        } catch (...) {
            thrown = std::current_exception();
        }
        done = true;
    }));

    QProgressDialog dialog(
        !label.isEmpty() ? label
        : path.isEmpty() ? QCoreApplication::translate("BackgroundRead", "Wczytywanie komórek ze schowka…")
                       : QCoreApplication::translate("BackgroundRead", "Wczytywanie pliku %1…").arg(QFileInfo(path).fileName()),
        QCoreApplication::translate("Prompts", "Anuluj"), 0, 0, parent);
    // Shown when this says so, never by the dialog's own timer.
    dialog.setMinimumDuration(std::numeric_limits<int>::max());
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setWindowTitle(QStringLiteral("Lamello"));
    // Its button, Escape and closing it all cancel.
    QObject::connect(&dialog, &QProgressDialog::canceled, [&] { cancelled = true; });
    QObject::connect(&dialog, &QDialog::rejected, [&] { cancelled = true; });
    InputGuard guard(parent ? parent->window() : nullptr, dialog, cancelled);

    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer shower;
    shower.setSingleShot(true);
    QObject::connect(&shower, &QTimer::timeout, &dialog, [&] {
        if (!cancelled && !done)
            Prompts::current().showProgress(dialog);
    });
    worker->start();
    shower.start(Prompts::current().progressDelayMs());
    loop.exec();
    // The program quitting ends every event loop: the read stops too.
    if (!done)
        cancelled = true;
    worker->wait();
    dialog.hide();
    if (thrown)
        std::rethrow_exception(thrown);
    if (guard.closeAfter && parent)
        QMetaObject::invokeMethod(parent->window(), &QWidget::close, Qt::QueuedConnection);
    return !cancelled;
}

} // namespace BackgroundRead
