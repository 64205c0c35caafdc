#pragma once

#include "files/settings.h"

#include <QMessageBox>
#include <QList>
#include <QString>

#include <utility>

class QDialog;
class QProgressDialog;
class QWidget;

// Every file dialog and message box of the program goes through here, so that
// tests can answer them instead of a person. The default answers with the
// platform's own dialogs.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // The title of every message box: the program's boxes pass an empty
    // title, which the platform's box shows as this.
    static constexpr QLatin1String programName{"Lamello"};

    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    // A modal box without parent and with the standard OK button; an empty
    // `title` is programName.
    virtual void message(QMessageBox::Icon icon, const QString &title, const QString &text) = 0;
    // A modal question without parent offering `buttons`; returns the button
    // pressed, or QMessageBox::Cancel / Escape's button when the box is closed.
    virtual QMessageBox::StandardButton question(QMessageBox::Icon icon, const QString &title,
                                                 const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) = 0;
    // A modal question without parent whose OK and Cancel buttons carry
    // `okText` and `cancelText`; true only when OK was pressed. By default the
    // question() above, with the standard captions.
    virtual bool confirm(QMessageBox::Icon icon, const QString &title, const QString &text,
                         const QString &okText, const QString &cancelText);
    // A modal question without parent whose `buttons` carry the captions
    // paired with them; returns the button pressed as question() does, which
    // it is by default (with the standard captions).
    virtual QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString &title, const QString &text,
                                            const QList<std::pair<QMessageBox::StandardButton, QString>> &buttons,
                                            QMessageBox::StandardButton defaultButton);
    // Runs one of the program's own modal dialogs and returns its result; by
    // default the dialog's own exec().
    virtual int runDialog(QDialog &dialog);

    // The progress dialog of a long read (BackgroundRead), once the read has
    // taken progressDelayMs(): by default shown, not modal to the program
    // (the read goes on meanwhile). A test may cancel it here.
    virtual void showProgress(QProgressDialog &dialog);
    virtual int progressDelayMs() const { return 500; }

    // The toolkit's box about Qt.
    virtual void aboutQt(QWidget *parent);

    // Where a file dialog starts: the folder `relative` below the working
    // directory when it exists, otherwise the user's home folder (a missing
    // folder given to a dialog would end up typed into its name box).
    static QString startFolder(const QString &relative);
    // Where a file dialog for a file of `kind` starts: the folder of the last
    // such file opened or saved, else the folder of `document` (the file the
    // sheet shows), else as above ("files/projects" for projects, "files"
    // for the rest).
    static QString startFolder(Settings::Folder kind, const QString &document = QString());
    // `name` as a save dialog answered it, with the extension of the
    // filter's first pattern ("*.pdf": ".pdf") added when it has none.
    static QString withSuffix(const QString &name, const QString &filter);

    // The prompts in use; never null.
    static Prompts &current();
    // Installs `prompts` (not owned) in place of the platform dialogs; null
    // brings the platform dialogs back.
    static void install(Prompts *prompts);
};
