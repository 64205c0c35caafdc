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

private:
    QString next(const QString &caption)
    {
        captions.append(caption);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};
