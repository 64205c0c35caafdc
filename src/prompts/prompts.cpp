#include "prompts/prompts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QSpacerItem>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>

#include <utility>

namespace {

// "pdf" for "*.pdf", "txt" for "*.txt;;*.dat"; empty when the first pattern
// names no extension.
QString filterSuffix(const QString &filter)
{
    static const QRegularExpression firstPattern(QStringLiteral("^[^;]*?\\*\\.(\\w+)"));
    return firstPattern.match(filter).captured(1);
}

// A box as wide as its title needs, so that a short text ("Zapisano.") does
// not leave the title cut in a narrow window; an empty title is the program's
// name as the user knows it (the application's name is the lower-case one of
// its files).
void fitTitle(QMessageBox &box)
{
    if (box.windowTitle().isEmpty())
        box.setWindowTitle(Prompts::programName);
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    // The title bar's own buttons and margins take about this much beside the text.
    constexpr int titleBarExtra = 160;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + titleBarExtra;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

class DialogPrompts final : public Prompts
{
public:
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }

    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        // The dialog adds the extension itself, so that its question about
        // replacing a file asks about the file that will be written.
        QFileDialog dialog(parent, caption, dir, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(filterSuffix(filter));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }

    void message(QMessageBox::Icon icon, const QString &title, const QString &text) override
    {
        QMessageBox box(icon, title, text, QMessageBox::Ok);
        fitTitle(box);
        box.exec();
    }

    QMessageBox::StandardButton question(QMessageBox::Icon icon, const QString &title,
                                         const QString &text, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override
    {
        QMessageBox box(icon, title, text, buttons);
        fitTitle(box);
        // The program's own words for the answers, whatever Qt's translation says.
        const std::pair<QMessageBox::StandardButton, const char *> captions[] = {
            {QMessageBox::Save, QT_TRANSLATE_NOOP("Prompts", "Zapisz")},
            {QMessageBox::Discard, QT_TRANSLATE_NOOP("Prompts", "Porzuć")},
            {QMessageBox::Cancel, QT_TRANSLATE_NOOP("Prompts", "Anuluj")},
        };
        for (const auto &[which, caption] : captions) {
            if (QAbstractButton *button = box.button(which))
                button->setText(QCoreApplication::translate("Prompts", caption));
        }
        box.setDefaultButton(defaultButton);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    bool confirm(QMessageBox::Icon icon, const QString &title, const QString &text, const QString &okText,
                 const QString &cancelText) override
    {
        QMessageBox box(icon, title, text, QMessageBox::Ok | QMessageBox::Cancel);
        fitTitle(box);
        box.button(QMessageBox::Ok)->setText(okText);
        box.button(QMessageBox::Cancel)->setText(cancelText);
        return box.exec() == QMessageBox::Ok;
    }

    QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString &title, const QString &text,
                                    const QList<std::pair<QMessageBox::StandardButton, QString>> &buttons,
                                    QMessageBox::StandardButton defaultButton) override
    {
        QMessageBox box(icon, title, text, QMessageBox::NoButton);
        for (const auto &[which, caption] : buttons)
            box.addButton(which)->setText(caption);
        fitTitle(box);
        box.setDefaultButton(defaultButton);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }
};

DialogPrompts platformPrompts;
Prompts *installed = nullptr;

} // namespace

bool Prompts::confirm(QMessageBox::Icon icon, const QString &title, const QString &text, const QString &,
                      const QString &)
{
    return question(icon, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
           == QMessageBox::Ok;
}

QMessageBox::StandardButton Prompts::ask(QMessageBox::Icon icon, const QString &title, const QString &text,
                                         const QList<std::pair<QMessageBox::StandardButton, QString>> &buttons,
                                         QMessageBox::StandardButton defaultButton)
{
    QMessageBox::StandardButtons all;
    for (const auto &button : buttons)
        all |= button.first;
    return question(icon, title, text, all, defaultButton);
}

int Prompts::runDialog(QDialog &dialog)
{
    return dialog.exec();
}

void Prompts::showProgress(QProgressDialog &dialog)
{
    dialog.show();
}

void Prompts::aboutQt(QWidget *parent)
{
    // An empty title: the toolkit's own.
    QMessageBox::aboutQt(parent, QString());
}

QString Prompts::startFolder(const QString &relative)
{
    const QFileInfo folder(QDir::current().filePath(relative));
    return folder.isDir() ? folder.absoluteFilePath() : QDir::homePath();
}

QString Prompts::startFolder(Settings::Folder kind, const QString &document)
{
    const QString remembered = Settings().lastFolder(kind);
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    if (!document.isEmpty()) {
        const QFileInfo shown(document);
        if (shown.absoluteDir().exists())
            return shown.absolutePath();
    }
    return startFolder(kind == Settings::Folder::Projects ? QStringLiteral("files/projects")
                                                          : QStringLiteral("files"));
}

QString Prompts::withSuffix(const QString &name, const QString &filter)
{
    const QString suffix = filterSuffix(filter);
    if (name.isEmpty() || suffix.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    return name.endsWith(QLatin1Char('.')) ? name + suffix : name + QLatin1Char('.') + suffix;
}

Prompts &Prompts::current()
{
    return installed ? *installed : platformPrompts;
}

void Prompts::install(Prompts *prompts)
{
    installed = prompts;
}
