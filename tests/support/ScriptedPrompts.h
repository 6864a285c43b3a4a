#pragma once
// Answers the editor's dialogs from a script and records what was shown.
// A dialog that was not scripted fails the test and is cancelled.

#include "model/gui/Prompts.h"

#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <type_traits>
#include <vector>

namespace kestrel::test {

class ScriptedPrompts : public Prompts {
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
    QString openFilter, openDirectory; // as the last open dialog was given them
    // Called as a message or a question is shown, to look at the window
    // behind it or to act while it is open.
    std::function<void(const Shown&)> onMessage, onQuestion;

    bool exhausted() const { return openNames.empty() && saveNames.empty() && answers.empty() && dialogs.empty(); }

    // Dialog scripts that press OK (which may refuse to close) or Cancel.
    // A dialog shown again keeps its last result: a refused accept must not read as the earlier one.
    static bool accept(QDialog& d)
    {
        d.setResult(QDialog::Rejected);
        d.accept();
        return d.result() == QDialog::Accepted;
    }
    static bool cancel(QDialog& d) { d.reject(); return false; }

    std::optional<QString> openFileName(QWidget*, const QString& directory, const QString& filter) override
    {
        openFilter = filter;
        openDirectory = directory;
        return chosen(next(openNames, "open dialog", {}));
    }
    std::optional<QString> saveFileName(QWidget*, const QString&, const QString&, const QString&,
                                        const QString&, bool = true) override
    {
        return chosen(next(saveNames, "save dialog", {}));
    }
    void message(QWidget*, const QString& caption, const QString& text, Icon icon) override
    {
        messages.push_back({caption, text, icon});
        if (onMessage)
            onMessage(messages.back());
    }
    Answer ask(QWidget*, const QString& caption, const QString& text, Buttons, Icon icon) override
    {
        questions.push_back({caption, text, icon});
        if (onQuestion)
            onQuestion(questions.back());
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

};

} // namespace kestrel::test
