#include "app/testscript.h"

#include "app/mainwindow.h"
#include "dialogs/recoverydialog.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace {

// Answers from the script; messages go to standard error.
class ScriptedPrompts : public Prompts
{
public:
    QList<QMessageBox::StandardButton> answers;
    QStringList files;

    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return next(); }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return next(); }
    void message(QMessageBox::Icon, const QString &, const QString &text) override
    {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    QMessageBox::StandardButton question(QMessageBox::Icon, const QString &, const QString &text,
                                         QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton defaultButton) override
    {
        std::fprintf(stderr, "question: %s\n", text.toUtf8().constData());
        return answers.isEmpty() ? defaultButton : answers.takeFirst();
    }
    bool confirm(QMessageBox::Icon icon, const QString &title, const QString &text, const QString &,
                 const QString &) override
    {
        return question(icon, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
               == QMessageBox::Ok;
    }
    int runDialog(QDialog &dialog) override
    {
        // The recovery offer takes the next answer for its newest copy.
        auto *offer = qobject_cast<RecoveryDialog *>(&dialog);
        if (!offer || answers.isEmpty())
            return 0;   // rejected, as with Escape
        std::fprintf(stderr, "recovery offer\n");
        const QMessageBox::StandardButton answer = answers.takeFirst();
        if (answer == QMessageBox::Yes)
            offer->choose(0, RecoveryDialog::Choice::Restore);
        else if (answer == QMessageBox::Discard)
            offer->choose(0, RecoveryDialog::Choice::Discard);
        return offer->result();
    }
    void aboutQt(QWidget *) override {}

private:
    QString next() { return files.isEmpty() ? QString() : files.takeFirst(); }
};

QMessageBox::StandardButton button(const QString &name)
{
    if (name == QLatin1String("yes"))
        return QMessageBox::Yes;
    if (name == QLatin1String("no"))
        return QMessageBox::No;
    if (name == QLatin1String("discard"))
        return QMessageBox::Discard;
    if (name == QLatin1String("ok"))
        return QMessageBox::Ok;
    return QMessageBox::Cancel;
}

} // namespace

TestScript::TestScript(MainWindow *window) : window(window)
{
    const QString script = qEnvironmentVariable("LAMELLO_TEST_SCRIPT");
    if (script.isEmpty())
        return;
    auto scripted = std::make_unique<ScriptedPrompts>();
    const QStringList lines = script.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QString verb = line.section(QLatin1Char(' '), 0, 0);
        const QString rest = line.section(QLatin1Char(' '), 1);
        if (verb == QLatin1String("answer"))
            scripted->answers.append(button(rest));
        else if (verb == QLatin1String("file"))
            scripted->files.append(rest);
        else
            steps.append(line);
    }
    Prompts::install(scripted.get());
    prompts = std::move(scripted);
}

TestScript::~TestScript()
{
    if (prompts)
        Prompts::install(nullptr);
}

void TestScript::start()
{
    if (active())
        QTimer::singleShot(0, this, &TestScript::play);
}

void TestScript::play()
{
    Preview *preview = window->sheetPreview();
    SheetDocument *document = preview->document();
    for (const QString &step : std::as_const(steps)) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const qsizetype id = step.section(QLatin1Char(' '), 1, 1).toLongLong();
        if (verb == QLatin1String("edit")) {
            QString text = step.section(QLatin1Char(' '), 2);
            text.replace(QLatin1Char('@'), QLatin1Char('\n'));
            document->editField(id, text, document->font(id), QStringLiteral("edit"));
        } else if (verb == QLatin1String("bold")) {
            QFont font = document->font(id);
            font.setBold(true);
            document->editField(id, document->text(id), font, QStringLiteral("bold"));
        } else if (verb == QLatin1String("saveas")) {
            preview->saveProjectAs();
        } else if (verb == QLatin1String("quit")) {
            window->close();
        }
    }
}
