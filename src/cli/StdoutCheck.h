#pragma once
// A command's printed result is part of its work: output cut short (a full
// disk, a file-size limit on a redirected stdout) fails the command.

#include <cstdio>
#include <string>
#include <vector>

namespace kestrel::cli {

// `status` when everything printed reached stdout; otherwise a message on
// stderr in the language --lang in `args` asks for, and a failure.
int checkedStdout(int status, const std::vector<std::string>& args);

// Where a command says what it wrote: stdout, unless its output file is
// stdout itself (OUT given as /dev/stdout), whose bytes the line would join.
std::FILE* reportStream(const std::string& outputPath);

} // namespace kestrel::cli
