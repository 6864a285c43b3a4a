#pragma once
// The strip of board tabs. Qt lays out every tab again each time one is
// added or removed, asking the style for each tab's size; a document of
// thousands of boards then took many seconds to open. The sizes are kept
// here by caption, so a layout only measures captions it has not seen.

#include <QHash>
#include <QSize>
#include <QString>
#include <QTabBar>

namespace kestrel {

class BoardTabBar : public QTabBar {
public:
    explicit BoardTabBar(QWidget* parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    void changeEvent(QEvent* event) override;
    void tabInserted(int index) override;

private:
    // Keyed by caption and by whether the tab is the current one, which a
    // style may draw larger.
    mutable QHash<QString, QSize> sizes_;
};

} // namespace kestrel
