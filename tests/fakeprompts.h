#pragma once

#include "prompts/prompts.h"

#include <QDialog>
#include <QList>
#include <QProgressDialog>
#include <QStringList>

#include <functional>

// Answers file dialogs from a queue and records message boxes, so that tests
// never wait for a person. Installed for its lifetime.
class FakePrompts : public Prompts
{
public:
    struct Message
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
    };

    FakePrompts() { Prompts::install(this); }
    ~FakePrompts() override { Prompts::install(nullptr); }

    QStringList fileAnswers;        // taken from the front; empty means "cancelled"
    QList<Message> messages;
    QList<Message> questions;       // every question asked, in order
    // Answers to questions, taken from the front; when empty, Cancel if it was
    // offered, otherwise the default button.
    QList<QMessageBox::StandardButton> questionAnswers;
    QStringList captions;           // caption of every file dialog asked
    QStringList folders;            // start folder of every file dialog asked
    QList<QStringList> confirmButtons;   // OK and Cancel captions of every confirm(), in order
    // Plays the user's part in the program's own dialogs; when unset a dialog
    // is closed at once, as with Escape.
    std::function<int(QDialog &)> dialogs;
    QStringList modalDialogs;       // window title of every dialog run modally
    int aboutQtShown = 0;
    // Plays the user's part in the progress dialog of a long read, shown after
    // progressDelay ms; when unset it is left to run.
    std::function<void(QProgressDialog &)> progress;
    int progressDelay = 500;
    int progressShown = 0;

    QString openFileName(QWidget *, const QString &caption, const QString &dir, const QString &) override
    {
        folders.append(dir);
        return next(caption);
    }
    QString saveFileName(QWidget *, const QString &caption, const QString &dir, const QString &) override
    {
        folders.append(dir);
        return next(caption);
    }
    void message(QMessageBox::Icon icon, const QString &title, const QString &text) override
    {
        messages.append({icon, title, text});
    }
    QMessageBox::StandardButton question(QMessageBox::Icon icon, const QString &title,
                                         const QString &text, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override
    {
        questions.append({icon, title, text});
        if (!questionAnswers.isEmpty())
            return questionAnswers.takeFirst();
        return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : defaultButton;
    }

    // Answered from questionAnswers like question(): only Ok confirms.
    bool confirm(QMessageBox::Icon icon, const QString &title, const QString &text, const QString &okText,
                 const QString &cancelText) override
    {
        confirmButtons.append({okText, cancelText});
        return question(icon, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
               == QMessageBox::Ok;
    }
    int runDialog(QDialog &dialog) override
    {
        modalDialogs.append(dialog.windowTitle());
        return dialogs ? dialogs(dialog) : int(QDialog::Rejected);
    }
    void aboutQt(QWidget *) override { ++aboutQtShown; }
    void showProgress(QProgressDialog &dialog) override
    {
        ++progressShown;
        if (progress)
            progress(dialog);
    }
    int progressDelayMs() const override { return progressDelay; }

private:
    QString next(const QString &caption)
    {
        captions.append(caption);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};
