#pragma once

#include <QObject>
#include <QString>

#include <vector>

class Preview;
class QAction;
class QWidget;

// "Wypełnij serią…": one value of a pattern with counters (SeriesPattern)
// into each selected field, in reading order (field ids: down a barette, the
// next barette, the next page), as one step to undo; every field keeps its
// font and the status bar says how many were filled. With one field
// selected, the dialog asks how many fields from it on to fill, over
// barettes and pages, headers left out or not.
class SeriesFill : public QObject
{
    Q_OBJECT

public:
    SeriesFill(QWidget *window, Preview *preview);

    QAction *action() const { return fillAct; }
    void retranslate();
    // Asks for the pattern and fills the fields; false when nothing was
    // filled (nothing selected, cancelled).
    bool fill();

signals:
    void statusMessage(const QString &message);

private:
    // The fields a run of `count` from field `first` fills.
    std::vector<qsizetype> run(qsizetype first, qsizetype count, bool skipHeaders) const;
    void updateEnabled();

    Preview *preview;
    QAction *fillAct;
    QString lastPattern;   // offered again in the next dialog
};
