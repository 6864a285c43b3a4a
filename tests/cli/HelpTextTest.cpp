#include "Refusals.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

bool hasCyrillic(const std::string& text)
{
    // Every Cyrillic letter of Russian starts with the UTF-8 byte D0 or D1.
    return text.find('\xD0') != std::string::npos || text.find('\xD1') != std::string::npos;
}

// The options a help text names ("--board", "--lang"...).
std::set<std::string> optionsNamed(const std::string& text)
{
    static const std::regex option("--[a-z][a-z-]*");
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    return found;
}

// The example command lines, which are typed as they stand in either language.
std::vector<std::string> examples(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("  kestrel-cli ", 0) == 0)
            lines.push_back(line.substr(0, line.find('#')));
    return lines;
}

// The subcommands the English overview lists.
std::vector<std::string> subcommands()
{
    const std::string overview = runCli({"--help", "--lang", "en"}).out;
    const size_t from = overview.find("Subcommands:\n"), to = overview.find("\n\n", from);
    std::vector<std::string> names;
    std::istringstream in(overview.substr(from, to - from));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line))
        names.push_back(line.substr(2, line.find(' ', 2) - 2));
    return names;
}

} // namespace

// The help comes in the language of --lang, Russian by default as every
// message, wherever --lang stands; the two texts of one command name the
// same options and show the same examples.
TEST(CliHelp, EveryTextInTheLanguageOfLangAndTheTwoAlike)
{
    const std::string russianOverview = runCli({"--help"}).out;
    EXPECT_TRUE(hasCyrillic(russianOverview)) << russianOverview;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--lang", "ru", "--help"},
                                                 {"--lang=ru"}, {"help", "--lang", "0"}}) {
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.out + r.err, russianOverview);
    }
    EXPECT_EQ(runCli({}).err, russianOverview) << "no subcommand: the overview on stderr";
    const std::string englishOverview = runCli({"--lang", "en", "--help"}).out;
    EXPECT_FALSE(hasCyrillic(englishOverview)) << englishOverview;
    EXPECT_EQ(runCli({"-h", "--lang", "en"}).out, englishOverview);

    const std::vector<std::string> names = subcommands();
    ASSERT_EQ(names.size(), 15u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_NE(russianOverview.find("  " + name + " "), std::string::npos);
        const CommandResult russian = runCli({name, "--help"}), english = runCli({name, "--help", "--lang", "en"});
        EXPECT_EQ(std::pair(russian.status, english.status), std::pair(0, 0));
        EXPECT_EQ(russian.err + english.err, "");
        EXPECT_TRUE(hasCyrillic(russian.out)) << russian.out;
        EXPECT_FALSE(hasCyrillic(english.out)) << english.out;
        EXPECT_EQ(runCli({"--lang", "en", name, "--help"}).out, english.out) << "--lang before the subcommand";
        EXPECT_EQ(optionsNamed(russian.out), optionsNamed(english.out));
        EXPECT_EQ(examples(russian.out), examples(english.out));
        EXPECT_FALSE(examples(english.out).empty());
        EXPECT_EQ(russian.out.rfind("использование: kestrel-cli " + name, 0), 0u) << russian.out;
    }
}

// Which --lang counts and where: before the subcommand as after it, the last
// of several (a language byte too), in either case, read past an error; after
// "--" every argument is a file, one named "--help" too.
TEST(CliHelp, LangAnywhereAndFilesNamedLikeOptions)
{
    const std::string missing = "/nonexistent/a.kbd", out = "/nonexistent/out";
    const std::string english = "Cannot open \"" + missing + "\": No such file or directory";
    const std::string russian = "Не удаётся открыть \"" + missing + "\": нет такого файла или папки";
    const std::tuple<std::vector<std::string>, int, std::string> runs[] = {
        {{"--lang", "en", "info", missing}, 1, english},
        {{"--lang", "en", "--lang=ru", "info", missing}, 1, russian},
        {{"--lang", "ru", "info", "--lang", "EN", missing}, 1, english},
        {{"--lang=eN", "info", missing}, 1, english},
        {{"gerber", "--bogus", "--lang=en", missing, out}, 2, "unknown option --bogus"},
        {{"export", "--lang", "en", "--lang", "ru", "--board", "x", missing, out}, 2,
         "--board: ожидается целое число, не 'x'"},
        {{"gerber", "--layer", "K1", "--lang", "2", missing, out}, 2,
         "--lang: ru или en (или байт языка 0 или 1), не '2'"},
        {{"edit", "--bogus", "--lang", "1", missing, out}, 2, "unknown option --bogus"},
    };
    for (const auto& [args, status, message] : runs) {
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.status, status) << message;
        EXPECT_EQ(r.err, "kestrel-cli: " + message + "\n");
    }
    // A --lang before the subcommand is checked as one after it: here it took "info" for its value.
    expectRefusals({{{"--lang", "info", missing}, 2, "--lang: ru или en (или байт языка 0 или 1), не 'info'"},
                    {{"--lang", "en", "--lang"}, 2, "option --lang needs a value"}});
    const CommandResult shortHelp = runCli({"info", "-h", "--lang", "en"});
    EXPECT_EQ(shortHelp.out.rfind("usage: kestrel-cli info", 0), 0u) << "-h as --help";

    TempDir dir;
    LayoutDocument doc = sampleDocument();
    writeLayout(dir, doc, "--help");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const CommandResult info = runCli({"info", "--lang", "en", "--", "--help"});
    std::filesystem::current_path(before);
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out.rfind("{\"version\": 3", 0), 0u) << info.out;
}
