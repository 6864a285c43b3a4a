// The box of a label step: the label font lives in Qt, which kestrel-cli
// does not link, so kestrel-cli-render beside it measures the text.

#include "cli/LabelMeasure.h"

#include <filesystem>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrel::cli {

std::optional<Point> measureLabel(const std::string& text, int32_t fontHeight, int32_t angle, Language lang,
                                  std::string& error)
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string renderer = (self.parent_path() / "kestrel-cli-render").string();
    if (ec || access(renderer.c_str(), X_OK) != 0) {
        error = tr(lang, "шагам с надписями нужна kestrel-cli-render рядом с kestrel-cli (",
                   "label steps need kestrel-cli-render beside kestrel-cli (") +
                renderer + ")";
        return std::nullopt;
    }
    int out[2];
    if (pipe(out) != 0) {
        error = tr(lang, "не удаётся запустить ", "cannot start ") + renderer;
        return std::nullopt;
    }
    const std::string height = std::to_string(fontHeight), turn = std::to_string(angle);
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(renderer.c_str(), renderer.c_str(), "label-extent", height.c_str(), turn.c_str(), text.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string answer;
    char buffer[256];
    for (ssize_t n; child > 0 && (n = read(out[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = tr(lang, "kestrel-cli-render не смогла измерить надпись '",
                   "kestrel-cli-render could not measure the label '") +
                text + "'";
        return std::nullopt;
    }
    std::istringstream in(answer);
    Point e;
    if (!(in >> e.x >> e.y)) {
        error = tr(lang, "kestrel-cli-render не вернула размеры надписи '",
                   "kestrel-cli-render gave no label box for '") +
                text + "'";
        return std::nullopt;
    }
    return e;
}

} // namespace kestrel::cli
