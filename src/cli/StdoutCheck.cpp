#include "cli/StdoutCheck.h"

#include "cli/Args.h"
#include "cli/Command.h"
#include "model/SystemErrors.h"

#include <cerrno>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace kestrel::cli {

int checkedStdout(int status, const std::vector<std::string>& args)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    const int error = errno;
    const Language lang = Args(args, {"lang"}, {}).language();
    std::fprintf(stderr, "kestrel-cli: %s%s\n", tr(lang, "вывод не записан: ", "the output was not written: "),
                 systemErrorText(error, lang).c_str());
    return status == kExitOk ? kExitFailure : status;
}

std::FILE* reportStream(const std::string& outputPath)
{
    struct stat out {};
    struct stat file {};
    struct stat null {};
    const bool same = ::fstat(STDOUT_FILENO, &out) == 0 && ::stat(outputPath.c_str(), &file) == 0 &&
                      out.st_dev == file.st_dev && out.st_ino == file.st_ino;
    // Both thrown away: the line corrupts nothing there.
    const bool discarded = ::stat("/dev/null", &null) == 0 && S_ISCHR(out.st_mode) && out.st_rdev == null.st_rdev;
    return same && !discarded ? stderr : stdout;
}

} // namespace kestrel::cli
