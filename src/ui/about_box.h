// The about box: product name, version and the program icon.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kw::ui
{

class TInfo : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TInfo)
public:
    explicit TInfo(QWidget *parent = nullptr);

    QLabel *Label1; // "Kopienwacht"
    QLabel *Label2; // the main window's version text, copied in at each opening
    QLabel *Image1; // the program icon
    QPlainTextEdit *Memo1;
    QPushButton *BitBtn1; // "&Ok"
};

} // namespace kw::ui
