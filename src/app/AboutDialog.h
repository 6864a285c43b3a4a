#pragma once
// TInfoDlg: the about box. A drawn picture, the version and the licences of
// the libraries the program uses.

#include "model/Language.h"

#include <QDialog>
#include <QPixmap>

namespace kestrel {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(Language lang, QWidget* parent = nullptr);
};

// The about box's picture, for the window shown while the program starts.
QPixmap aboutPicture();

} // namespace kestrel
