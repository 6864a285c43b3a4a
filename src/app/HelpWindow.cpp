#include "app/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QTextBrowser>
#include <QUrl>

#include <array>

namespace kestrel {

namespace {

const auto kPages = std::to_array<HelpPage>({
    {"start", "Начало работы", "Getting started"},
    {"drawing", "Рисование", "Drawing"},
    {"editing", "Правка", "Editing"},
    {"boards", "Платы", "Boards"},
    {"macros", "Макросы", "Macros"},
    {"routing", "Соединения и трассировка", "Connectivity and routing"},
    {"groundplane", "Общая шина", "Ground plane"},
    {"output", "Производственные файлы", "Manufacturing output"},
    {"printing", "Печать", "Printing"},
    {"commandline", "Командная строка", "Command line"},
});

const char* languageFolder(Language lang) { return lang == Language::English ? "en" : "ru"; }

} // namespace

std::span<const HelpPage> helpPages() { return kPages; }

const char* helpPageForTool(int toolMode)
{
    // Tool modes: 0 edit, 3 zoom, 8 test, 9 connect, 11 autorouter; the rest draw.
    switch (toolMode) {
    case 0: return "editing";
    case 3: return "start";
    case 8:
    case 9:
    case 11: return "routing";
    default: return "drawing";
    }
}

QString manualFolder(Language lang)
{
    const QString app = QCoreApplication::applicationDirPath();
    QStringList candidates = {app + "/../share/doc/kestrel/manual"};
#ifdef KESTREL_SOURCE_MANUAL
    // The sources' manual serves only programs run from their build tree: an
    // installed one must not quietly depend on the sources being there.
    if ((QDir(app).canonicalPath() + '/').startsWith(QDir(QStringLiteral(KESTREL_BUILD_TREE)).canonicalPath() + '/'))
        candidates << QStringLiteral(KESTREL_SOURCE_MANUAL);
#endif
    for (const QString& base : candidates) {
        const QString folder = QDir(base).filePath(languageFolder(lang));
        if (QFileInfo::exists(QDir(folder).filePath("start.html")))
            return QDir(folder).canonicalPath();
    }
    return {};
}

HelpWindow::HelpWindow(Language lang, QWidget* parent)
    : QWidget(parent, Qt::Window), lang_(lang), folder_(manualFolder(lang))
{
    setObjectName("HelpWindow");
    setWindowTitle(QString::fromUtf8(kestrel::tr(lang, "Kestrel: справка", "Kestrel help")));
    auto* row = new QHBoxLayout(this);
    contents_ = new QListWidget(this);
    contents_->setObjectName("HelpContents");
    contents_->setMaximumWidth(260);
    for (const HelpPage& page : kPages) {
        auto* line = new QListWidgetItem(QString::fromUtf8(kestrel::tr(lang, page.russian, page.english)), contents_);
        line->setData(Qt::UserRole, QString::fromLatin1(page.file));
    }
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({folder_});
    row->addWidget(contents_);
    row->addWidget(browser_, 1);
    connect(contents_, &QListWidget::currentRowChanged, this, [this](int index) {
        if (index >= 0)
            showPage(contents_->item(index)->data(Qt::UserRole).toString());
    });
    // Links between pages keep the contents in step.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const QString page = QFileInfo(url.path()).completeBaseName();
        for (int i = 0; i < contents_->count(); ++i)
            if (contents_->item(i)->data(Qt::UserRole).toString() == page && contents_->currentRow() != i)
                contents_->setCurrentRow(i);
    });
    if (folder_.isEmpty())
        browser_->setPlainText(QString::fromUtf8(
            kestrel::tr(lang, "Руководство пользователя не найдено.", "The user manual was not found.")));
    resize(900, 650);
}

void HelpWindow::showPage(const QString& page)
{
    if (folder_.isEmpty())
        return;
    const QUrl url = QUrl::fromLocalFile(QDir(folder_).filePath(page + ".html"));
    if (browser_->source() != url)
        browser_->setSource(url);
}

QString HelpWindow::currentPage() const
{
    return QFileInfo(browser_->source().path()).completeBaseName();
}

} // namespace kestrel
