#pragma once
// The user manual: HTML pages in the interface language (docs/manual/ru and
// docs/manual/en), one per subject, shown with their table of contents.

#include "model/Language.h"

#include <QWidget>

#include <span>

class QListWidget;
class QTextBrowser;

namespace kestrel {

struct HelpPage {
    const char* file; // without ".html"
    const char* russian;
    const char* english;
};

// The manual's pages in reading order.
std::span<const HelpPage> helpPages();

// The page that explains a tool (ToolMode number).
const char* helpPageForTool(int toolMode);

// The manual's folder of a language: beside an installed program
// (share/doc/kestrel/manual), else the source tree's docs/manual. Empty
// when neither exists.
QString manualFolder(Language lang);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(Language lang, QWidget* parent = nullptr);
    // Shows the page (file name without ".html") and its line in the contents.
    void showPage(const QString& page);
    QString currentPage() const;

private:
    Language lang_;
    QString folder_;
    QListWidget* contents_ = nullptr;
    QTextBrowser* browser_ = nullptr;
};

} // namespace kestrel
