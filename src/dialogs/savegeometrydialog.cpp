#include "dialogs/savegeometrydialog.h"

#include "files/usergeometryfile.h"
#include "prompts/prompts.h"
#include "system/pictures.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>

SaveGeometryDialog::SaveGeometryDialog(QWidget *parent)
    : QDialog(parent)
{
    leName = new QLineEdit(tr("Ustawienia własne nr #"));
    leName->setObjectName(QStringLiteral("leName"));
    auto *pbOk = new QPushButton(tr("OK"));
    pbOk->setObjectName(QStringLiteral("pbOk"));
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(leName);
    layout->addWidget(pbOk);
    // Its task, as every dialog of the program is titled.
    setWindowTitle(tr("Zapisz geometrię"));
    setWindowIcon(Pictures::icon(QStringLiteral(":/icons/printer_r.png")));
    connect(pbOk, &QPushButton::clicked, this, &SaveGeometryDialog::pbSaveClicked);
}

void SaveGeometryDialog::pbSaveClicked()
{
    const QString name = leName->text();
    if (const QString problem = UserGeometryFile::nameProblem(name); !problem.isEmpty()) {
        Prompts::current().message(QMessageBox::Warning, QString(), problem);
        leName->setFocus();
        return;
    }
    emit textValue(name);
    accept();
}
