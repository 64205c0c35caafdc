#pragma once

#include "files/settings.h"
#include "files/usergeometryfile.h"
#include "layout/geometrypreset.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The insert geometry panel of the left tool bar: the device presets, the
// user's own presets (marked with a leading "*", kept in the user geometry
// file), and a free entry "Użytkownika" for sizes set by hand (shown in the
// language of the window, stored under freeEntry). Choosing or
// editing changes nothing on the sheet; only "Zastosuj" sends the values out,
// the number of labels first, then the sizes. A geometry is applied whole or
// not at all: when the window declines it (see setApproval), the panel shows
// the geometry in force again.
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

    // Shows `geometry` under its entry (the free entry when no entry of that
    // name holds these values) and applies it as "Zastosuj" does, without a
    // message; false, with the geometry in force shown again, when it cannot
    // be applied; with `tellWhy` a geometry the sheet cannot be laid out
    // with is said, as for "Zastosuj".
    bool apply(const GeometryPreset &geometry, bool tellWhy = false);
    // The geometry last sent out, under the entry chosen then.
    const GeometryPreset &geometryInForce() const { return inForce; }
    // Asked before a geometry is sent out; false declines it.
    void setApproval(std::function<bool(const GeometryPreset &)> check) { approval = std::move(check); }

    // The user geometry file in use, and why it could not be read (empty when it could).
    const QString &userFilePath() const { return userFile.path(); }
    const QString &userFileProblem() const { return readProblem; }

protected:
    void changeEvent(QEvent *event) override;

signals:
    void updateDimensions(QRectF label, QRectF header);
    void updateLabelsPerBarette(int count);
    // After the two above: `geometry` is the one in force now.
    void geometryApplied(GeometryPreset geometry);

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
    // Selects the entry named like `geometry` when it holds its values, else
    // the free entry with them.
    void showGeometry(const GeometryPreset &geometry);
    bool applyShown(bool tellWhy);
    void updateToolTip();
    // Every text again, in the language now installed.
    void retranslate();

    QList<GeometryPreset> presets;
    UserGeometryFile userFile{Settings::userGeometryPath()};
    QString readProblem;
    GeometryPreset inForce;   // the geometry last sent out, under the entry chosen then
    std::function<bool(const GeometryPreset &)> approval;
    QGroupBox *group = nullptr;
    QLabel *lbPresets = nullptr;
    QList<QLabel *> rowLabels;
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
