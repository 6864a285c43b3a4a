#include "WindowFixture.h"

#include "model/LayoutFile.h"

#include <QTest>

namespace kestrel::test {

WindowFixture::WindowFixture(Language lang, const QString& startupFile)
    : window_(std::make_unique<MainWindow>(lang, prompts_))
{
    window_->setStartupFile(startupFile);
    window_->show();
    // Keys reach the board view only in the active window.
    window_->activateWindow();
    (void)QTest::qWaitForWindowActive(window_.get());
}

WindowFixture::~WindowFixture()
{
    // Nothing may ask on the way out.
    window_->hide();
}

QAction& WindowFixture::action(const char* name)
{
    return control<QAction>(name);
}

void WindowFixture::trigger(const char* name)
{
    QAction& a = action(name);
    if (!a.isEnabled())
        throw std::runtime_error(std::string("disabled: ") + name);
    a.trigger();
}

std::vector<std::string> WindowFixture::tabTexts()
{
    std::vector<std::string> out;
    QTabBar& tabs = window_->boardTabs();
    for (int i = 0; i < tabs.count(); ++i)
        out.push_back(tabs.tabText(i).toStdString());
    return out;
}

bool WindowFixture::acceptAsIs(QDialog& dialog)
{
    dialog.accept();
    return dialog.result() == QDialog::Accepted;
}

bool WindowFixture::cancel(QDialog& dialog)
{
    dialog.reject();
    return false;
}

void saveDocumentFile(LayoutDocument& doc, const std::string& path)
{
    const std::string error = writeDocument(doc, path, false, Language::English);
    if (!error.empty())
        throw std::runtime_error(error);
}

} // namespace kestrel::test
