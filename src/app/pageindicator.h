#pragma once

#include <QLabel>

class QIntValidator;
class QLineEdit;

// The page indicator "current / count". A click on it (or startEditing())
// opens a small field over it in which the user types a page number; Enter
// asks for that page, Escape or leaving the field gives up.
class PageIndicator : public QLabel
{
    Q_OBJECT

public:
    explicit PageIndicator(QWidget *parent = nullptr);

    void showPages(int current, int count);
    QLineEdit *pageField() const { return editor; }

public slots:
    void startEditing();

signals:
    void pageRequested(int page);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void finishEditing(bool accept);

    int current = 1;
    int count = 1;
    QLineEdit *editor = nullptr;
    QIntValidator *validator = nullptr;
};
