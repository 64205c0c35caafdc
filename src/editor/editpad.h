#pragma once

#include <functional>
#include <QDialog>
#include <QString>
#include <QTimer>

class FormatsLegend;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The built-in editor of a descriptions file: the file's lines in the symbol
// font, the legend of symbol characters beside them, and buttons to open,
// save, save under another name, reload and close. Every successful save
// emits savedAs() so that the sheet shows the saved file.
//
// It never loses work silently: closing, opening another file and reloading
// ask first while there are unsaved changes; a save either writes the whole
// file or leaves the old one as it was and says why. See EditorText for how
// bytes become the text shown and back.
//
// Large files are loaded a slice at a time: the first lines are shown at once,
// the rest follow while the window stays responsive, and editing starts when
// the whole file is in.
class EditPad : public QDialog
{
    Q_OBJECT

public:
    EditPad(QString pathToFile, QWidget *parent);
    ~EditPad() override;

    const QString &path() const { return pathToFile; }
    bool isModified() const { return modified; }
    bool isLoading() const { return !pending.isEmpty(); }
    QPlainTextEdit *textArea() const { return textEdit; }
    // Asked before every write of the file: the sheet that shows it may have
    // changes of its own to settle first. False writes nothing.
    void setBeforeWrite(std::function<bool()> ask) { beforeWrite = std::move(ask); }

public slots:
    // Escape, like "Anuluj" and the window's close button, closes asking first.
    void reject() override;

signals:
    void savedAs(QString newPathToFile);
    // The whole file is in the editor.
    void loaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void pbOpenClicked();
    void pbSaveAsClicked();
    void pbSaveClicked();
    void pbResetClicked();
    void pbCancelClicked();
    void textChanged();
    void loadNextSlice();

private:
    enum class Answer { Go, Stop };

    bool saveToFile(bool silent);
    bool writeTo(const QString &path);
    bool loadFromFile(const QString &path);
    void showText(QString text);
    void finishLoading();
    Answer settleChanges(const QString &question, bool offerSave);
    void setModified(bool on);
    void updateTitle();

    QString pathToFile;
    bool modified = false;
    bool crlf = false;            // the file's lines end with CR LF
    bool fillingText = false;     // the text is being replaced, not edited
    QString pending;              // what a slice-by-slice load has still to show
    qsizetype pendingFrom = 0;
    qsizetype loadedChars = 0;
    QTimer sliceTimer;

    QPlainTextEdit *textEdit = nullptr;
    FormatsLegend *legend = nullptr;
    QLabel *lbLoading = nullptr;
    QLabel *lbEncoding = nullptr;   // shown while the file came as UTF-8
    QPushButton *pbOpen = nullptr;
    QPushButton *pbSaveAs = nullptr;
    QPushButton *pbSave = nullptr;
    QPushButton *pbReset = nullptr;
    QPushButton *pbCancel = nullptr;
    std::function<bool()> beforeWrite;
};
