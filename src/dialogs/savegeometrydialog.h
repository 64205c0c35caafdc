#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

// Asks for the name of a user preset. "OK" hands a name that the user
// geometry file can hold to whoever listens to textValue() and closes; any
// other name is explained and the dialog stays open with it.
class SaveGeometryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SaveGeometryDialog(QWidget *parent = nullptr);

signals:
    void textValue(QString name);

private slots:
    void pbSaveClicked();

private:
    QLineEdit *leName = nullptr;
};
