#pragma once
// A shown main window whose dialogs are answered from a script, with helpers
// to drive it through its actions. A dialog that was not scripted fails the
// test and is cancelled.

#include "app/MainWindow.h"
#include "model/LayoutFile.h"
#include "model/gui/Prompts.h"
#include "support/TestData.h"

#include <QAction>
#include <QDialog>
#include <QTabBar>
#include <QTest>

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <type_traits>

namespace kestrel::test {

using Answer = Prompts::Answer;
using Layers = std::array<uint8_t, 4>;

class WindowFixture : public Prompts {
public:
    struct Shown {
        QString caption, text;
        Icon icon;
    };
    using DialogScript = std::function<bool(QDialog&)>; // fills a dialog in, returns whether it was accepted

    std::deque<QString> openNames, saveNames; // an empty name cancels the file dialog
    std::deque<Answer> answers;
    std::deque<DialogScript> dialogs;
    std::vector<Shown> messages, questions;
    std::vector<QString> dialogNames;
    QString openFilter;

    explicit WindowFixture(Language lang = Language::English, const QString& startupFile = {})
        : window_(std::make_unique<MainWindow>(lang, *this))
    {
        window_->setStartupFile(startupFile);
        window_->show();
        // Keys reach the board view only in the active window.
        window_->activateWindow();
        (void)QTest::qWaitForWindowActive(window_.get());
    }
    ~WindowFixture() override { window_->hide(); } // nothing may ask on the way out

    MainWindow& window() { return *window_; }
    LayoutDocument& doc() { return window_->document(); }
    bool exhausted() const { return openNames.empty() && saveNames.empty() && answers.empty() && dialogs.empty(); }

    template <class T = QAction> T& control(const char* name)
    {
        if (T* found = window_->findChild<T*>(name))
            return *found;
        throw std::runtime_error(std::string("no control ") + name);
    }
    QAction& action(const char* name) { return control<QAction>(name); }
    // Triggers an action the way a menu click does: only when it is enabled.
    void trigger(const char* name)
    {
        if (!action(name).isEnabled())
            throw std::runtime_error(std::string("disabled: ") + name);
        action(name).trigger();
    }
    std::vector<std::string> tabTexts()
    {
        std::vector<std::string> out;
        for (int i = 0; i < window_->boardTabs().count(); ++i)
            out.push_back(window_->boardTabs().tabText(i).toStdString());
        return out;
    }
    // A track on the active board: New, Open and closing then ask first.
    void addContent()
    {
        addTrack(*doc().currentObjects(), {{1000, -1000}, {3000, -1000}}, 40);
        window_->updateCommandStates();
    }
    // Empty boards added through the command, their size dialog cancelled.
    void addBoards(int count)
    {
        for (int i = 0; i < count; ++i) {
            dialogs.push_back(cancel);
            trigger("NeuePlatine1");
        }
    }

    // Dialog scripts that press OK (which may refuse to close) or Cancel.
    static bool accept(QDialog& d) { d.accept(); return d.result() == QDialog::Accepted; }
    static bool cancel(QDialog& d) { d.reject(); return false; }

    std::optional<QString> openFileName(QWidget*, const QString&, const QString& filter) override
    {
        openFilter = filter;
        return chosen(next(openNames, "open dialog", {}));
    }
    std::optional<QString> saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return chosen(next(saveNames, "save dialog", {}));
    }
    void message(QWidget*, const QString& caption, const QString& text, Icon icon) override
    {
        messages.push_back({caption, text, icon});
    }
    Answer ask(QWidget*, const QString& caption, const QString& text, Buttons, Icon icon) override
    {
        questions.push_back({caption, text, icon});
        return next(answers, "question", Answer::Cancel);
    }
    bool runDialog(QDialog& dialog) override
    {
        dialogNames.push_back(dialog.objectName());
        return next(dialogs, "dialog", cancel)(dialog);
    }

private:
    static std::optional<QString> chosen(const QString& name)
    {
        return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
    }
    template <class T> static T next(std::deque<T>& queue, const char* what, std::type_identity_t<T> unscripted)
    {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return unscripted;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }

    std::unique_ptr<MainWindow> window_;
};

inline QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

inline QString titleWith(const std::string& fileName)
{
    return "Kestrel 3.0 R - [" + q(fileName).toLower() + "]";
}

// Writes the sample document to path and returns it.
inline LayoutDocument writeSample(const std::string& path)
{
    LayoutDocument sample = sampleDocument();
    const std::string error = writeDocument(sample, path, false, Language::English);
    if (!error.empty())
        throw std::runtime_error(error);
    return sample;
}

} // namespace kestrel::test
