#include "geometry/gbgeometry.h"

#include "dialogs/savegeometrydialog.h"
#include "prompts/prompts.h"

#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>

namespace {
GeometryPreset named(GeometryPreset preset, const QString &name)
{
    preset.presetName = name;
    return preset;
}

QDoubleSpinBox *lengthEditor(const char *name, double value)
{
    auto *editor = new QDoubleSpinBox;
    editor->setObjectName(QLatin1String(name));
    editor->setRange(0, 100);
    editor->setSingleStep(0.1);
    editor->setDecimals(2);
    editor->setSuffix(QStringLiteral(" mm"));
    editor->setValue(value);
    return editor;
}

QPushButton *button(const QString &text, const char *name)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}
} // namespace

GbGeometry::GbGeometry(QWidget *parent)
    : QWidget(parent)
{
    group = new QGroupBox(tr("Geometria"));
    cbPredefinited = new QComboBox;
    cbPredefinited->setObjectName(QStringLiteral("cbPredefinited"));

    // Filled and on the first device preset before anyone listens.
    loadPresets();
    connect(cbPredefinited, &QComboBox::currentIndexChanged, this,
            [this](int index) { cbPredefinitedSelected(cbPredefinited->itemText(index)); });

    pbAccept = button(tr("Zastosuj"), "pbAccept");
    pbDelete = button(tr("Usuń"), "pbDelete");
    pbSave = button(tr("Zapisz"), "pbSave");
    pbDelete->setEnabled(false);
    pbSave->setEnabled(false);
    connect(pbAccept, &QPushButton::clicked, this, &GbGeometry::pbAcceptClicked);
    connect(pbDelete, &QPushButton::clicked, this, &GbGeometry::pbDeleteClicked);
    connect(pbSave, &QPushButton::clicked, this, &GbGeometry::pbSaveClicked);

    const GeometryPreset &first = GeometryPreset::builtIns().constFirst();
    inForce = first;
    sbLabels = new QSpinBox;
    sbLabels->setObjectName(QStringLiteral("sbLabels"));
    sbLabels->setRange(5, 15);
    sbLabels->setSingleStep(1);
    sbLabels->setValue(first.labelsPerBarette);
    sbLabels->setWhatsThis(tr("Określa ilość pól opisowych z wyłączeniem nagłówka."));
    dsbLabelWidth = lengthEditor("dsbLabelWidth", first.labelRect.width());
    dsbLabelHeight = lengthEditor("dsbLabelHeight", first.labelRect.height());
    dsbHeaderWidth = lengthEditor("dsbHeaderWidth", first.headerRect.width());
    dsbHeaderHeight = lengthEditor("dsbHeaderHeight", first.headerRect.height());
    // Only now: the first values must not move the selection.
    connect(sbLabels, &QSpinBox::valueChanged, this, &GbGeometry::sbChanged);
    for (QDoubleSpinBox *editor : {dsbLabelWidth, dsbLabelHeight, dsbHeaderWidth, dsbHeaderHeight})
        connect(editor, &QDoubleSpinBox::valueChanged, this, &GbGeometry::dsbChanged);

    auto *groupLayout = new QVBoxLayout(group);
    lbPresets = new QLabel(tr("Ustawienia predefiniowane:"));
    groupLayout->addWidget(lbPresets);
    groupLayout->addWidget(cbPredefinited);
    lbPresets->setBuddy(cbPredefinited);
    const std::array<std::pair<QString, QWidget *>, 5> rows{{
        {tr("Ilość etykiet"), sbLabels},
        {tr("Szer. etykiety"), dsbLabelWidth},
        {tr("Wys.  etykiety"), dsbLabelHeight},
        {tr("Szer.  nagłówka"), dsbHeaderWidth},
        {tr("Wys.  nagłówka"), dsbHeaderHeight},
    }};
    for (const auto &[caption, editor] : rows) {
        auto *row = new QHBoxLayout;
        rowLabels.append(new QLabel(caption));
        row->addWidget(rowLabels.constLast());
        row->addWidget(editor);
        // The row's label names its field for a screen reader.
        rowLabels.constLast()->setBuddy(editor);
        groupLayout->addLayout(row);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(pbAccept);
    buttons->addWidget(pbDelete);
    buttons->addWidget(pbSave);
    groupLayout->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    setMinimumHeight(100);
    setMinimumWidth(250);
    setMaximumWidth(250);
}

GbGeometry::~GbGeometry() = default;

void GbGeometry::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void GbGeometry::retranslate()
{
    group->setTitle(tr("Geometria"));
    lbPresets->setText(tr("Ustawienia predefiniowane:"));
    const char *const captions[] = {QT_TR_NOOP("Ilość etykiet"), QT_TR_NOOP("Szer. etykiety"),
                                    QT_TR_NOOP("Wys.  etykiety"), QT_TR_NOOP("Szer.  nagłówka"),
                                    QT_TR_NOOP("Wys.  nagłówka")};
    for (qsizetype i = 0; i < rowLabels.size(); ++i)
        rowLabels.at(i)->setText(tr(captions[i]));
    pbAccept->setText(tr("Zastosuj"));
    pbDelete->setText(tr("Usuń"));
    pbSave->setText(tr("Zapisz"));
    sbLabels->setWhatsThis(tr("Określa ilość pól opisowych z wyłączeniem nagłówka."));
    cbPredefinited->setItemText(0, tr("Użytkownika"));
    updateToolTip();
}

void GbGeometry::loadPresets()
{
    loading = true;
    presets = GeometryPreset::builtIns();
    QList<GeometryPreset> user;
    readProblem.clear();
    if (!userFile.read(user, &readProblem))
        qWarning().noquote() << readProblem;   // the window shows it too; a save says it again
    updateToolTip();
    for (GeometryPreset &p : user) {
        p.presetName.prepend(userMarker);
        presets.append(std::move(p));
    }
    cbPredefinited->clear();
    cbPredefinited->addItem(tr("Użytkownika"));
    for (const GeometryPreset &p : std::as_const(presets))
        cbPredefinited->addItem(p.presetName);
    loading = false;
    cbPredefinited->setCurrentIndex(1);
}

void GbGeometry::updateToolTip()
{
    QString tip = tr("Własne ustawienia są zapisywane w pliku:\n%1").arg(QDir::toNativeSeparators(userFile.path()));
    if (!readProblem.isEmpty())
        tip += QStringLiteral("\n\n") + readProblem;
    setToolTip(tip);
}

GeometryPreset GbGeometry::editorValues(const QString &name) const
{
    return {name, QRectF(0, 0, dsbLabelWidth->value(), dsbLabelHeight->value()),
            QRectF(0, 0, dsbHeaderWidth->value(), dsbHeaderHeight->value()), sbLabels->value()};
}

void GbGeometry::setEditorValues(const GeometryPreset &preset)
{
    // The editors clamp to their ranges and round to two decimals.
    dsbLabelWidth->setValue(preset.labelRect.width());
    dsbLabelHeight->setValue(preset.labelRect.height());
    dsbHeaderWidth->setValue(preset.headerRect.width());
    dsbHeaderHeight->setValue(preset.headerRect.height());
    sbLabels->setValue(preset.labelsPerBarette);
}

void GbGeometry::showGeometry(const GeometryPreset &geometry)
{
    const int entry = cbPredefinited->findText(geometry.presetName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry > 0) {
        cbPredefinited->setCurrentIndex(entry);
        if (editorValues(geometry.presetName) == geometry)
            return;
    }
    cbPredefinited->setCurrentIndex(0);
    setEditorValues(geometry);
}

void GbGeometry::cbPredefinitedSelected(QString deviceName)
{
    if (loading)
        return;
    applyingPreset = true;
    if (cbPredefinited->currentIndex() == 0) {
        pbSave->setEnabled(true);
    } else {
        pbSave->setEnabled(false);
        const qsizetype k = cbPredefinited->currentIndex() - 1;
        if (k >= 0 && k < presets.size())
            setEditorValues(presets.at(k));
    }
    pbDelete->setEnabled(deviceName.startsWith(userMarker));
    applyingPreset = false;
}

void GbGeometry::sbChanged(int)
{
    if (!loading && !applyingPreset)
        cbPredefinited->setCurrentIndex(0);
}

void GbGeometry::dsbChanged(double)
{
    if (!loading && !applyingPreset)
        cbPredefinited->setCurrentIndex(0);
}

void GbGeometry::pbAcceptClicked()
{
    applyShown(true);
}

bool GbGeometry::apply(const GeometryPreset &geometry, bool tellWhy)
{
    showGeometry(geometry);
    if (applyShown(tellWhy))
        return true;
    showGeometry(inForce);
    return false;
}

bool GbGeometry::applyShown(bool tellWhy)
{
    if (loading)
        return false;
    // The free entry under its own name in every language: it is stored.
    const GeometryPreset values =
        editorValues(cbPredefinited->currentIndex() == 0 ? freeEntry : cbPredefinited->currentText());
    if (const QString problem = values.sheetProblem(); !problem.isEmpty()) {
        // The values stay shown, to be corrected.
        if (tellWhy)
            Prompts::current().message(QMessageBox::Warning, QString(),
                                       tr("Tej geometrii nie można zastosować.\n%1").arg(problem));
        return false;
    }
    // Declined (the sheet it makes was not wanted): nothing changes, and the
    // panel shows again what the sheet has.
    if (approval && !approval(values)) {
        showGeometry(inForce);
        return false;
    }
    inForce = values;
    emit updateLabelsPerBarette(values.labelsPerBarette);
    emit updateDimensions(values.labelRect, values.headerRect);
    emit geometryApplied(values);
    return true;
}

void GbGeometry::pbSaveClicked()
{
    SaveGeometryDialog dialog;
    connect(&dialog, &SaveGeometryDialog::textValue, this, &GbGeometry::saveAs);
    Prompts::current().runDialog(dialog);
}

void GbGeometry::saveAs(QString nameValue)
{
    const QString shown = userMarker + nameValue;
    const GeometryPreset values = editorValues(nameValue);
    QString error;
    const int i = cbPredefinited->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    // The user's data folder is made at the first save.
    QDir().mkpath(QFileInfo(userFile.path()).absolutePath());
    if (i >= 0) {
        if (!Prompts::current().confirm(QMessageBox::Question, QString(),
                                        tr("Ustawienia o podanej nazwie juz istnieją.\nCzy nadpisać?"),
                                        tr("Nadpisz"), tr("Anuluj")))
            return;
        if (!userFile.replace(values, &error)) {
            Prompts::current().message(QMessageBox::Warning, QString(),
                                       tr("Ustawień „%1” nie zapisano.\n%2").arg(nameValue, error));
            return;
        }
        // The file now holds the new values under every line of that name;
        // so does the list.
        loading = true;
        for (GeometryPreset &p : presets) {
            if (p.presetName == shown)
                p = named(values, shown);
        }
        cbPredefinited->setCurrentIndex(i);
        loading = false;
        return;
    }
    if (!userFile.append(values, &error)) {
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   tr("Ustawień „%1” nie zapisano.\n%2").arg(nameValue, error));
        return;
    }
    presets.append(named(values, shown));
    cbPredefinited->addItem(shown);
    cbPredefinited->setCurrentIndex(cbPredefinited->count() - 1);
}

void GbGeometry::pbDeleteClicked()
{
    const QString entry = cbPredefinited->currentText();
    if (!entry.startsWith(userMarker))
        return;
    const GeometryPreset remembered = editorValues(QString());
    const QString name = entry.mid(1);
    if (!Prompts::current().confirm(QMessageBox::Question, QString(),
                                    tr("Czy na pewno usunąć ustawienia:\n%1").arg(name), tr("Usuń"),
                                    tr("Anuluj")))
        return;
    QString error;
    if (!userFile.remove(name, &error)) {
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   tr("Ustawień „%1” nie usunięto.\n%2").arg(name, error));
        return;
    }
    loadPresets();
    loading = true;
    cbPredefinited->setCurrentIndex(0);
    setEditorValues(remembered);
    loading = false;
}
