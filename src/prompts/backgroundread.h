#pragma once

#include <QString>

#include <atomic>
#include <functional>

class QWidget;

// A read of a file that may take long (a large workbook, descriptions file or
// project) runs on a worker thread while the window goes on repainting.
// Once the read has taken half a second (Prompts::progressDelayMs()) a
// progress dialog says so (through Prompts::showProgress(), which tests
// answer) with a button that cancels it. Until the read ends the windows take
// no input, so that no second command starts meanwhile, except that Ctrl+Q
// and closing the window cancel the read and then close the window.
namespace BackgroundRead {

// Runs `read` on a worker thread and returns once it has returned, the event
// loop running meanwhile. `read` looks at the flag it is handed between
// blocks or rows and stops early once it is set. Returns false when the read
// was cancelled: what it read is then to be dropped, whether or not it got
// to the end. `path` names the file in the dialog (empty: cells from the
// clipboard), unless `label` says what is read. An exception `read` throws
// is thrown again here.
bool run(QWidget *parent, const QString &path, const std::function<void(const std::atomic<bool> &cancelled)> &read,
         const QString &label = QString());

} // namespace BackgroundRead
