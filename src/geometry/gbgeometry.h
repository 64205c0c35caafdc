#pragma once

#include <QRectF>
#include <QWidget>

// The insert geometry panel of the left tool bar. For now it shows the
// geometry the sheet starts with; presets and "Zastosuj" come with the panel's
// editors.
class GbGeometry : public QWidget
{
    Q_OBJECT

public:
    explicit GbGeometry(QWidget *parent = nullptr);

signals:
    void updateLabelsPerBarette(int count);
    void updateDimensions(QRectF label, QRectF header);
};
