#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class MainWindow;
class Prompts;

// A seam for tests that run the real program as a separate process (a kill
// and the next start, in tests/tst_recovery): when the environment variable
// LAMELLO_TEST_SCRIPT holds steps, one a line, the window's questions and
// file dialogs are answered from them and the window plays the rest after
// start-up. Unset, as for every user, it does nothing at all.
//
//   answer yes|no|discard|cancel   the next question's answer (in order); the
//                                  recovery offer takes one for its newest copy
//   file PATH                      the next file dialog's answer (in order)
//   edit ID TEXT                   field ID's text ("@" a line break)
//   bold ID                        field ID's font made bold
//   saveas                         "Zapisz projekt jako…" (its name from `file`)
//   quit                           the program ends as when its window closes
//
// Messages the window shows are written to standard error.
class TestScript : public QObject
{
public:
    explicit TestScript(MainWindow *window);
    ~TestScript() override;

    // Whether a script is set.
    bool active() const { return prompts != nullptr; }
    // Plays the steps once the event loop runs.
    void start();

private:
    void play();

    MainWindow *window;
    QStringList steps;
    std::unique_ptr<Prompts> prompts;
};
