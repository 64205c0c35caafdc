#pragma once

#include <QDialog>

// "O programie Lamello": the icon, the version and build date, the licence,
// and where the icons and the symbol font come from.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
};
