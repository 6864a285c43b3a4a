#pragma once
// Helpers of the kestrel-cli tests: writing the layout a command works on,
// and command lines it must refuse, checked the same way for every subcommand.

#include "model/LayoutFile.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrel::test {

// Saves the document as dir/name and returns the path.
inline std::string writeLayout(const TempDir& dir, LayoutDocument& doc, const std::string& name = "in.kbd")
{
    const std::string path = dir.file(name);
    EXPECT_TRUE(succeeded(writeDocument(doc, path, false, Language::English)));
    return path;
}

struct Refusal {
    std::vector<std::string> args;
    int status;       // 1 for a file or a missing board, object or band; 2 for usage
    std::string text; // part of the message
};

// Each command line exits with its status, prints nothing on stdout and one
// line on stderr holding the text.
inline void expectRefusals(const std::vector<Refusal>& rows)
{
    for (const Refusal& row : rows) {
        std::string line;
        for (const std::string& a : row.args)
            line += a + " ";
        SCOPED_TRACE(line);
        const CommandResult r = runCli(row.args);
        EXPECT_EQ(r.status, row.status) << r.err;
        EXPECT_NE(r.err.find(row.text), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

} // namespace kestrel::test
