// The gerber, export and fab subcommands' work, shared by kestrel-cli and
// kestrel-cli-render.

#include "cli/ExportRuns.h"

#include "cli/Args.h"
#include "cli/Command.h"
#include "cli/ExportOptions.h"
#include "cli/StdoutCheck.h"
#include "model/FileIO.h"
#include "model/QuotedPath.h"
#include "model/SystemErrors.h"
#include "output/DesignCheck.h"
#include "output/DrillExport.h"
#include "output/FabPackage.h"
#include "output/GerberExport.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace kestrel::cli {

namespace {

// Without --font-labels the labels in a system font stay out, as in the
// classic export; the count says so.
void reportLeftOutLabels(const ObjectList& objects, const GerberOptions& options, Language lang)
{
    if (options.fontLabels)
        return;
    if (const size_t n = fontLabelsOnLayer(objects, options.layer))
        std::fprintf(stderr,
                     tr(lang, "kestrel-cli: слой %s: надписей системным шрифтом пропущено: %zu (см. --font-labels)\n",
                        "kestrel-cli: layer %s: %zu label(s) in a system font left out (see --font-labels)\n"),
                     std::string(gerberLayerKey(options.layer)).c_str(), n);
}

std::string layerList(Language lang)
{
    return tr(lang, "K1, B1, K2, B2, LStop1 или LStop2", "K1, B1, K2, B2, LStop1 or LStop2");
}

// --name / --no-name; nullopt when neither is given.
std::optional<bool> onOff(Args& args, const std::string& name)
{
    const bool on = args.flag(name), off = args.flag("no-" + name);
    if (on && off)
        args.reject("--" + name + tr(args.language(), " и --no-", " and --no-") + name +
                    tr(args.language(), " противоречат друг другу", " contradict each other"));
    if (on || off)
        return on;
    return std::nullopt;
}

// The core's rule, worded in terms of this command's options.
std::string problemText(GerberOptions::Problem problem, Language lang)
{
    using P = GerberOptions::Problem;
    switch (problem) {
    case P::PunchOnMask:
        return tr(lang, "--punch и --mark только для слоёв фольги и маркировки",
                  "--punch and --mark apply to copper and silk layers only");
    case P::MaskOptionOnOtherLayer:
        return tr(lang, "--offset и --invert только для паяльных масок LStop1 и LStop2",
                  "--offset and --invert apply to the solder masks LStop1 and LStop2 only");
    case P::MarkWithoutPunch:
        return tr(lang, "--mark только вместе с --punch", "--mark needs --punch");
    case P::OffsetOutOfRange:
        return tr(lang, "--offset: от ", "--offset must lie between ") + mmText(GerberOptions::kMinOffsetMm) +
               tr(lang, " до ", " and ") + mmText(GerberOptions::kMaxOffsetMm) + " " + mmUnit(lang);
    case P::None:
        break;
    }
    return {};
}

} // namespace

int runGerberCommand(const std::vector<std::string>& raw, const LabelOutlineSource* labels)
{
    Args args(raw, {"board", "layer", "offset", "lang"},
              {"mirror", "no-mirror", "outline", "no-outline", "punch", "mark", "invert", "font-labels"});
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.index("board");
    const auto offsetMm = args.number("offset");
    const auto lang = languageOption(args);
    if (!args.ok())
        return fail(kExitUsage, args.error());
    const auto key = args.value("layer");
    if (!key)
        return fail(kExitUsage,
                    tr(*lang, "нужен параметр --layer (", "--layer is required (") + layerList(*lang) + ")");
    const auto layer = gerberLayerFromKey(*key);
    if (!layer)
        return fail(kExitUsage,
                    tr(*lang, "неизвестный слой '", "unknown layer '") + *key + "' (" + layerList(*lang) + ")");

    GerberOptions options = GerberOptions::presetFor(*layer);
    if (auto v = onOff(args, "mirror"))
        options.mirror = *v;
    if (auto v = onOff(args, "outline"))
        options.outline = *v;
    if (!args.ok())
        return fail(kExitUsage, args.error());
    options.punch = args.flag("punch");
    options.mark = args.flag("mark");
    options.invert = args.flag("invert");
    options.fontLabels = args.flag("font-labels");
    options.offsetMm = offsetMm.value_or(0);
    if (const auto problem = options.check(); problem != GerberOptions::Problem::None)
        return fail(kExitUsage, problemText(problem, *lang));

    if (const auto refused = outputIsInput(args, *lang))
        return fail(kExitUsage, *refused);
    std::optional<LayoutDocument> doc;
    const Board* board = loadExportBoard(args.positional()[0], boardIndex, doc, *lang);
    if (!board)
        return kExitFailure;
    const std::string& out = args.positional()[1];
    if (const Status written = writeGerber(out, board->Objects, doc->Working, options, *lang, labels); !written)
        return fail(kExitFailure, written.message());
    reportLeftOutLabels(board->Objects, options, *lang);
    std::fprintf(reportStream(out),
                 tr(*lang, "слой %s платы \"%s\" записан в %s\n", "wrote layer %s of board \"%s\" to %s\n"),
                 std::string(gerberLayerKey(*layer)).c_str(), board->Name.c_str(), out.c_str());
    return kExitOk;
}

namespace {

namespace fs = std::filesystem;

// The output folder, made when it is missing; its parent must exist, so a
// mistyped path does not grow a tree of folders.
bool prepareFolder(const fs::path& dir, Language lang)
{
    std::error_code ec;
    if (fs::is_directory(dir, ec))
        return true;
    if (fs::exists(dir, ec)) {
        fail(kExitFailure, quotedPath(dir.string()) + tr(lang, " не является папкой", " is not a directory"));
        return false;
    }
    if (fs::create_directory(dir, ec))
        return true;
    fail(kExitFailure, tr(lang, "не удаётся создать папку ", "cannot create the folder ") + quotedPath(dir.string()) +
                           ": " +
                           (ec == std::errc::no_such_file_or_directory
                                ? tr(lang, "нет папки уровнем выше", "the folder above it does not exist")
                                : systemErrorText(ec.value(), lang)));
    return false;
}

} // namespace

int runExportCommand(const std::vector<std::string>& raw, const LabelOutlineSource* labels)
{
    Args args(raw, {"board", "lang"}, {"font-labels"});
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.index("board");
    const auto lang = languageOption(args);
    if (!args.ok())
        return fail(kExitUsage, args.error());

    const std::string& input = args.positional()[0];
    const fs::path dir = args.positional()[1];
    constexpr GerberLayer kLayers[] = {GerberLayer::K1, GerberLayer::B1, GerberLayer::K2,
                                       GerberLayer::B2, GerberLayer::LStop1, GerberLayer::LStop2};
    std::vector<FileContent> files;
    for (GerberLayer layer : kLayers)
        files.push_back({(dir / gerberDefaultFileName(layer, *lang)).string(), {}});
    files.push_back({(dir / drillDefaultFileName(*lang)).string(), {}});
    for (const FileContent& file : files)
        if (const auto refused = outputReplaces(input, file.path, *lang))
            return fail(kExitUsage, *refused);

    std::optional<LayoutDocument> doc;
    const Board* board = loadExportBoard(input, boardIndex, doc, *lang);
    if (!board)
        return kExitFailure;
    if (!prepareFolder(dir, *lang))
        return kExitFailure;
    // The set is replaced as a whole: a failure leaves the previous files.
    for (size_t i = 0; i < std::size(kLayers); ++i) {
        GerberOptions options = GerberOptions::presetFor(kLayers[i]);
        options.fontLabels = args.flag("font-labels");
        files[i].bytes = exportGerber(board->Objects, doc->Working, options, *lang, labels);
        reportLeftOutLabels(board->Objects, options, *lang);
    }
    files.back().bytes = exportDrill(board->Objects, doc->Working, DrillSide::Solder);
    if (const Status status = writeFilesAtomically(files, *lang); !status)
        return fail(kExitFailure, status.message());
    for (const FileContent& file : files)
        std::printf("%s\n", file.path.c_str());
    return kExitOk;
}

int runFabCommand(const std::vector<std::string>& raw, const LabelOutlineSource* labels)
{
    Args args(raw, {"board", "clearance", "width", "hole", "ring", "lang"}, {"force"});
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    const auto boardIndex = args.index("board");
    const auto lang = languageOption(args);
    const DesignRules rules = designRulesOption(args, lang.value_or(Language::English));
    if (!args.ok())
        return fail(kExitUsage, args.error());
    if (const auto refused = outputIsInput(args, *lang))
        return fail(kExitUsage, *refused);
    std::optional<LayoutDocument> doc;
    const Board* board = loadExportBoard(args.positional()[0], boardIndex, doc, *lang);
    if (!board)
        return kExitFailure;
    // A board house would reject what the check finds: the files, made
    // while it runs, are written only when it passes or with --force.
    const PreparedFabPackage package = prepareFabPackage(*board, doc->Working, rules, labels);
    const std::vector<Violation>& violations = package.report.violations;
    // Listed with --force too: a package sent anyway is sent knowing what is wrong.
    for (const Violation& v : violations)
        std::fprintf(stderr, "%s\n", describeViolation(v, board->Objects, *lang).c_str());
    if (!violations.empty() && !args.flag("force")) {
        return fail(kExitFailure,
                    tr(*lang, "нарушений проверки: ", "") + std::to_string(violations.size()) +
                        tr(*lang, "; ничего не записано (--force записывает всё равно)",
                           " design check violation(s); nothing written (--force writes anyway)"));
    }
    const std::string& out = args.positional()[1];
    if (const Status written = writeFabPackage(out, package.files, *lang); !written)
        return fail(kExitFailure, written.message());
    std::fprintf(reportStream(out),
                 tr(*lang, "пакет для производства платы \"%s\" записан в %s (нарушений проверки: %zu)\n",
                    "wrote the fab package of board \"%s\" to %s (%zu design check violation(s))\n"),
                 board->Name.c_str(), out.c_str(), violations.size());
    return kExitOk;
}

int runRenderer(const char* subcommand, const std::vector<std::string>& args)
{
    // Only --lang is read here; the subcommand parses the rest itself.
    const Language lang = Args(args, {"lang"}, {}).language();
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string renderer = (self.parent_path() / "kestrel-cli-render").string();
    if (ec || access(renderer.c_str(), X_OK) != 0)
        return fail(kExitFailure, tr(lang, "для ", "") + std::string(subcommand) +
                                      tr(lang, " нужна kestrel-cli-render рядом с kestrel-cli (",
                                         " needs kestrel-cli-render beside kestrel-cli (") +
                                      renderer + ")");
    std::vector<char*> argv{const_cast<char*>(renderer.c_str()), const_cast<char*>(subcommand)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(renderer.c_str(), argv.data());
    return fail(kExitFailure, tr(lang, "не удаётся запустить ", "cannot start ") + renderer);
}

} // namespace kestrel::cli
