#pragma once

#include "app/prompts.h"

#include <QList>
#include <QStringList>

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

    QString openFileName(QWidget *, const QString &caption, const QString &, const QString &) override
    {
        return next(caption);
    }
    QString saveFileName(QWidget *, const QString &caption, const QString &, const QString &) override
    {
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

private:
    QString next(const QString &caption)
    {
        captions.append(caption);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};
