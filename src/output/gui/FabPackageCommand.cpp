#include "output/gui/FabPackageCommand.h"

#include "model/gui/BusyCursor.h"
#include "output/FabPackage.h"
#include "view/gui/LabelOutlines.h"

#include <QCursor>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

} // namespace

bool runFabPackageCommand(QWidget* parent, LayoutDocument& doc, Language lang, Prompts& prompts,
                          const DesignRules& rules)
{
    const Board* board = doc.activeBoard();
    if (!board)
        return false;
    const QString caption = text(lang, "Пакет для производства", "Fab package");
    const ScreenLabelOutlines labels;
    const PreparedFabPackage package = [&] {
        const BusyCursor busy;
        return prepareFabPackage(*board, doc.Working, rules, &labels);
    }();
    const size_t violations = package.report.violations.size();
    if (violations > 0) {
        const QString question =
            text(lang,
                 "Проверка правил проектирования нашла нарушений: %1.\nВсё равно записать пакет для производства?",
                 "The design check found %1 violation(s).\nWrite the fab package anyway?")
                .arg(violations);
        if (prompts.ask(parent, caption, question, Prompts::Buttons::YesNo, Prompts::Icon::Warning) !=
            Prompts::Answer::Yes)
            return false;
    }
    const auto path = exportFileName(prompts, parent, caption, doc.FileName,
                                     QString::fromStdString(fabBaseName(board->Name) + ".zip"), "*.zip|*.zip", "zip",
                                     lang);
    if (!path)
        return false;
    const Status written = [&] {
        const BusyCursor busy;
        return writeFabPackage(path->toStdString(), package.files, lang);
    }();
    if (!written) {
        prompts.message(parent, caption,
                        text(lang, "Файл не создан!", "Can not create file!") + "\n\n" +
                            QString::fromStdString(written.message()),
                        Prompts::Icon::Error);
        return false;
    }
    prompts.message(parent, caption, text(lang, "Пакет для производства записан.", "Fab package written."),
                    Prompts::Icon::Information);
    return true;
}

} // namespace kestrel
