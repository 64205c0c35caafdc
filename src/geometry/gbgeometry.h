#pragma once

#include "geometry/geometrypreset.h"
#include "geometry/usergeometryfile.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;

// The insert geometry panel of the left tool bar: the device presets, the
// user's own presets (marked with a leading "*", kept in the user geometry
// file), and a free entry "Użytkownika" for sizes set by hand. Choosing or
// editing changes nothing on the sheet; only "Zastosuj" sends the values out,
// the number of labels first, then the sizes.
//
// Entry k + 1 of the preset list shows presets[k]; entry 0 is the free entry.
// Programmatic changes of the list and the editors are shielded from their own
// change signals by `loading` (list rebuilt or moved by the panel itself) and
// `applyingPreset` (a preset's values being written into the editors).
class GbGeometry : public QWidget
{
    Q_OBJECT

public:
    static inline const QString freeEntry = QStringLiteral("Użytkownika");
    static constexpr QChar userMarker = u'*';

    explicit GbGeometry(QWidget *parent = nullptr);
    ~GbGeometry() override;

    const QList<GeometryPreset> &presetList() const { return presets; }
    // Why the user geometry file could not be read when the presets were last
    // loaded (its presets are then missing from the list); empty when it was.
    const QString &userFileProblem() const { return loadProblem; }

signals:
    void updateDimensions(QRectF label, QRectF header);
    void updateLabelsPerBarette(int count);

private slots:
    void pbSaveClicked();
    void pbDeleteClicked();
    void pbAcceptClicked();
    void sbChanged(int val);
    void dsbChanged(double val);
    void cbPredefinitedSelected(QString deviceName);
    void saveAs(QString nameValue);

private:
    void loadPresets();
    // The editors' values under `name`.
    GeometryPreset editorValues(const QString &name) const;
    void setEditorValues(const GeometryPreset &preset);

    QList<GeometryPreset> presets;
    UserGeometryFile userFile;
    QString loadProblem;
    QComboBox *cbPredefinited = nullptr;
    QSpinBox *sbLabels = nullptr;
    QDoubleSpinBox *dsbLabelWidth = nullptr;
    QDoubleSpinBox *dsbLabelHeight = nullptr;
    QDoubleSpinBox *dsbHeaderWidth = nullptr;
    QDoubleSpinBox *dsbHeaderHeight = nullptr;
    QPushButton *pbAccept = nullptr;
    QPushButton *pbDelete = nullptr;
    QPushButton *pbSave = nullptr;
    bool loading = true;
    bool applyingPreset = false;
};
