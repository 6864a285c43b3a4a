#pragma once
// Answers the main window's dialogs from a script and records what was shown.
// A dialog that was not scripted fails the test and is cancelled.

#include "app/Prompts.h"

#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace kestrel::test {

class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString caption;
        QString text;
        Icon icon;
    };

    std::deque<std::optional<QString>> openNames;
    std::deque<std::optional<QString>> saveNames;
    std::deque<Answer> answers;
    // Runs a modal dialog: fills it in and returns whether it was accepted.
    std::deque<std::function<bool(QDialog&)>> dialogs;

    std::vector<Shown> messages;
    std::vector<Shown> questions;
    std::vector<QString> openFilters;
    std::vector<QString> dialogNames;

    std::optional<QString> openFileName(QWidget*, const QString&, const QString& filter) override
    {
        openFilters.push_back(filter);
        return next(openNames, "open dialog");
    }

    std::optional<QString> saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return next(saveNames, "save dialog");
    }

    void message(QWidget*, const QString& caption, const QString& text, Icon icon) override
    {
        messages.push_back({caption, text, icon});
    }

    Answer ask(QWidget*, const QString& caption, const QString& text, Buttons, Icon icon) override
    {
        questions.push_back({caption, text, icon});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return Answer::Cancel;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    bool runDialog(QDialog& dialog) override
    {
        dialogNames.push_back(dialog.objectName());
        if (dialogs.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
            return false;
        }
        auto run = std::move(dialogs.front());
        dialogs.pop_front();
        return run(dialog);
    }

    // Every scripted answer was used.
    bool exhausted() const { return openNames.empty() && saveNames.empty() && answers.empty() && dialogs.empty(); }

private:
    std::optional<QString> next(std::deque<std::optional<QString>>& queue, const char* what)
    {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return std::nullopt;
        }
        const bool given = queue.front().has_value();
        const QString name = queue.front().value_or(QString());
        queue.pop_front();
        if (!given)
            return std::nullopt;
        return name;
    }
};

} // namespace kestrel::test
