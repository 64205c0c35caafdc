#include "app/pageindicator.h"

#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>

PageIndicator::PageIndicator(QWidget *parent)
    : QLabel(parent)
{
    setToolTip(tr("Kliknij, aby wpisać numer strony (Ctrl+G)"));
    setCursor(Qt::IBeamCursor);
    editor = new QLineEdit(this);
    editor->setObjectName(QStringLiteral("lePage"));
    editor->setAlignment(Qt::AlignCenter);
    validator = new QIntValidator(1, 1, editor);
    editor->setValidator(validator);
    editor->hide();
    editor->installEventFilter(this);
    connect(editor, &QLineEdit::returnPressed, this, [this] { finishEditing(true); });
    showPages(1, 1);
}

void PageIndicator::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        setToolTip(tr("Kliknij, aby wpisać numer strony (Ctrl+G)"));
    QLabel::changeEvent(event);
}

void PageIndicator::showPages(int currentPage, int pageCount)
{
    current = currentPage;
    count = pageCount;
    setText(QStringLiteral("%1 / %2").arg(current).arg(count));
    // Room for the widest number the field can take.
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("%1 / %1").arg(count)) + 8);
    validator->setTop(count);
}

void PageIndicator::startEditing()
{
    editor->setGeometry(rect());
    editor->setText(QString::number(current));
    editor->selectAll();
    editor->show();
    editor->setFocus(Qt::ShortcutFocusReason);
}

void PageIndicator::finishEditing(bool accept)
{
    if (editor->isHidden())
        return;
    const QString typed = editor->text();
    editor->hide();
    bool ok = false;
    const int page = typed.toInt(&ok);
    if (accept && ok)
        emit pageRequested(page);
}

void PageIndicator::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    startEditing();
}

bool PageIndicator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == editor) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            finishEditing(false);
            return true;
        }
        if (event->type() == QEvent::FocusOut)
            finishEditing(false);
    }
    return QLabel::eventFilter(watched, event);
}
