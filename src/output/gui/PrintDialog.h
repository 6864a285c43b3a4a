#pragma once
// TPrint_Dlg: what to print of one board side, how large, how often and
// where, with a live preview of the page in which the board is dragged to
// its place. The options live in the PrintSession and outlast the dialog.

#include "model/Language.h"
#include "model/gui/Prompts.h"
#include "output/gui/PrintRender.h"

#include <QDialog>
#include <QFrame>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace kestrel {

class PrintSession;

// The page preview (PaintBox1 in its Panel): the page fitted into the
// widget, the board drawn on it, dragged with the left button.
class PrintPreview : public QFrame {
    Q_OBJECT
public:
    PrintPreview(PrintSession& session, const PrintJob& job, QWidget* parent);
    // The page's rectangle in the widget's pixels.
    QRect pageRect() const;

Q_SIGNALS:
    void dragged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PrintSession& session_;
    const PrintJob& job_;
    std::optional<QPoint> dragFrom_;
};

class TPrint_Dlg : public QDialog {
    Q_OBJECT
public:
    // `job` holds the board; the dialog writes its options into it on OK.
    TPrint_Dlg(Language lang, Prompts& prompts, PrintSession& session, PrintJob& job, QWidget* parent = nullptr);

    // The colour dialog; tests put their own answer here.
    std::function<std::optional<QColor>(const QColor&)> chooseColour;
    PrintPreview& preview() const { return *PaintBox1_; }

    // Recomputes the preview after any change.
    void LayoutPreview();

private:
    QWidget* makeOptions();
    void optionClicked();
    void scaleMoved(int position);
    void colourClicked(QPushButton* swatch, uint32_t PrintOptions::*colour);
    void setupClicked();
    void calibrateClicked();
    void tileClicked();
    void targetChosen(int index);
    void showOptions();

    Language lang_;
    Prompts& prompts_;
    PrintSession& session_;
    PrintJob& job_;
    bool showing_ = false;

    QComboBox* PrinterBox_ = nullptr;
    QRadioButton* S1_ = nullptr;
    QRadioButton* S2_ = nullptr;
    QCheckBox* WillsteLayout_ = nullptr;
    QCheckBox* WillsteBestueckung_ = nullptr;
    QCheckBox* WillsteLoetStopp_ = nullptr;
    QCheckBox* WillsteBohrplan_ = nullptr;
    QPushButton* L_Shape_ = nullptr;
    QPushButton* B_Shape_ = nullptr;
    QPushButton* S_Shape_ = nullptr;
    QPushButton* P_Shape_ = nullptr;
    QRadioButton* S_1zu1_ = nullptr;
    QRadioButton* S_Frei_ = nullptr;
    QScrollBar* S_Wert_ = nullptr;
    QLabel* L_Scale_ = nullptr;
    QCheckBox* Spiegeln_ = nullptr;
    QCheckBox* Passkreuze_ = nullptr;
    QCheckBox* Rahmen_ = nullptr;
    QCheckBox* CB_Vorlage_ = nullptr;
    PrintPreview* PaintBox1_ = nullptr;
};

} // namespace kestrel
