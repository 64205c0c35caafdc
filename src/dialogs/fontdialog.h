#pragma once

#include <QDialog>
#include <QFont>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

// Chooses the size and decoration of one field's font. Every press of
// "Ustaw" sends the current choice with setThisFont(); the dialog stays open
// until "Zamknij".
//
// "Autodopasowanie" makes the size automatic (pixel size 1): the field then
// shows its text at the largest size up to the default at which it fits.
//
// The size list offers 6 to 15. A font of another pixel size gets an item of
// its own, chosen, so that "Ustaw" keeps the size the font came with; a font
// sized in points (no pixel size) starts with no item chosen and keeps its
// size the same way.
class FontDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FontDialog(QFont font, QWidget *parent = nullptr);

    static constexpr int smallestListedSize = 6;
    static constexpr int largestListedSize = 15;

signals:
    void setThisFont(QFont font);

private slots:
    void cbAutoSizeTriggered();
    void pbSetClicked();

private:
    QComboBox *cbSize = nullptr;
    QCheckBox *cbAutoSize = nullptr;
    QCheckBox *cbUnderline = nullptr;
    QCheckBox *cbBold = nullptr;
    QCheckBox *cbItalic = nullptr;
    QPushButton *pbSet = nullptr;
    QPushButton *pbClose = nullptr;
    QGroupBox *gbDecoration = nullptr;
    QGroupBox *gbSize = nullptr;
    QFont givenFont;
};
