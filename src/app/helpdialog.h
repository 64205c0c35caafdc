#pragma once

#include <QDialog>

// The program's help: the logo, what the program is, and the rules of its
// menus, files and editing, on a white scrolling page; at the foot the
// program's version and build date and where its icons come from.
class HelpDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HelpDialog(QWidget *parent = nullptr);

    // "Lamello <version>, kompilacja z dnia: <build date in words>".
    static QString buildLine();
};
