#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QObject>

#include <memory>

class Preview;
class QIntValidator;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolBar;

// The font bar's size field, its arrows and the bold, italic and underline
// buttons: they show the font of the selected fields and change it. It
// speaks in the window's words (the translation context MainWindow).
class FontBar : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    explicit FontBar(Preview *preview);
    // Before the window's widgets: the size field lets go of its validator.
    ~FontBar() override;

    // The size field, its arrows and the style buttons, onto `fontToolBar`.
    void addTo(QToolBar *fontToolBar);
    // The font size model behind the size field; it is never shown.
    QSpinBox *sizeModel() const { return sbFontSize.get(); }

    void changeFontPixelSize(int pixelSize);
    void changeFontPixelSize(QString pixelSize);
    void changeSbFontSizeUp();
    void changeSbFontSizeDown();
    void changeFontBold();
    void changeFontItalic();
    void changeFontUnderline();
    void selectAction(int id, QFont font);
    // Shows `pixelSize` in the size field and model without applying it.
    void showFontSize(int pixelSize);

protected:
    // The size field: on Enter, or when it is left, a size that was not
    // applied (typed "0", or nothing) gives way to the size in force.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Preview *preview;
    std::unique_ptr<QSpinBox> sbFontSize;
    QLineEdit *leFontSize = nullptr;
    std::unique_ptr<QIntValidator> fontSizeValidator;
    QPushButton *pbFontSizeUp = nullptr;
    QPushButton *pbFontSizeDown = nullptr;
    QPushButton *pbBold = nullptr;
    QPushButton *pbItalic = nullptr;
    QPushButton *pbUnderline = nullptr;
    bool fontSizeSignalsEnabled = true;
};
