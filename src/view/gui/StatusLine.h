#pragma once
// Statuszeile: the status line below the main window. Panel 0 shows the
// pointer position, panel 1 the layer buttons (visible layers above, the
// active layer below), panel 2 the board size, panel 3 the ground-plane
// button with its clearance spin, panel 4 the help text. The widget only
// shows state and reports clicks; the main window owns the state.

#include <QWidget>

#include <array>
#include <cstdint>

class QButtonGroup;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QRadioButton;
class QToolButton;

namespace kestrel {

class StatusLine : public QWidget {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    void showPointerTexts(const QString& x, const QString& y);
    // Checks the radio button of the active layer and styles the visibility
    // buttons: bold (red for silk, black for copper) when visible, grey when hidden.
    void showLayers(int activeLayer, const std::array<uint8_t, 4>& visible);
    void showBoardSize(const QString& caption);
    // Pressed button: panel 3 widens and the clearance spin appears.
    void showGroundPlane(bool on);
    void showClearanceMm(double mm);
    void showHelpText(const QString& text);
    QString helpText() const;

    static constexpr int kHeightPx = 40;
    static constexpr int kGroundPanelNarrowPx = 47;
    static constexpr int kGroundPanelWidePx = 100;

Q_SIGNALS:
    void activeLayerClicked(int layer);
    void visibleLayerClicked(int layer);
    void boardSizeClicked();
    void groundPlaneClicked(bool pressed);
    void clearanceChanged(double mm);

private:
    QFrame* panel(int widthPx);

    QLabel* xPos_ = nullptr;
    QLabel* yPos_ = nullptr;
    std::array<QToolButton*, 4> visibleButtons_{};
    std::array<QRadioButton*, 4> activeButtons_{};
    QButtonGroup* activeGroup_ = nullptr;
    QToolButton* boardSize_ = nullptr;
    QFrame* groundPanel_ = nullptr;
    QToolButton* groundPlane_ = nullptr;
    QDoubleSpinBox* clearance_ = nullptr;
    QLabel* help_ = nullptr;
};

} // namespace kestrel
