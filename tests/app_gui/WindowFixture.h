#pragma once
// A shown main window with scripted dialogs, and helpers to drive it through
// its actions and controls.

#include "ScriptedPrompts.h"
#include "app/MainWindow.h"
#include "support/TestData.h"

#include <QAction>
#include <QTabBar>

#include <memory>

namespace kestrel::test {

class WindowFixture {
public:
    explicit WindowFixture(Language lang = Language::English, const QString& startupFile = {});
    ~WindowFixture();

    MainWindow& window() { return *window_; }
    LayoutDocument& doc() { return window_->document(); }
    ScriptedPrompts& prompts() { return prompts_; }

    QAction& action(const char* name);
    // Triggers an action the way a menu click does (only when it is enabled).
    void trigger(const char* name);
    template <class T> T& control(const char* name)
    {
        T* found = window_->findChild<T*>(name);
        if (!found)
            throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }
    std::vector<std::string> tabTexts();
    // Accepts the board size dialog as it was filled in.
    static bool acceptAsIs(QDialog& dialog);
    static bool cancel(QDialog& dialog);

private:
    ScriptedPrompts prompts_;
    std::unique_ptr<MainWindow> window_;
};

// Writes a document to a file.
void saveDocumentFile(LayoutDocument& doc, const std::string& path);

} // namespace kestrel::test
