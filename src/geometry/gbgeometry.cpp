#include "geometry/gbgeometry.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

GbGeometry::GbGeometry(QWidget *parent)
    : QWidget(parent)
{
    auto *group = new QGroupBox(tr("Geometria"));
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(new QLabel(tr("Ilość etykiet: 8\nEtykieta: 37,30 × 11,20 mm\n"
                                         "Nagłówek: 50,25 × 8,50 mm")));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
}
