#pragma once
// Helpers for comparing exported text line by line.

#include <string>
#include <vector>

namespace kestrel::test {

// The lines joined with CR LF, each line ended by one.
inline std::string crlf(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out;
}

// Splits text at CR LF; a line ended by a bare LF stays part of its line.
inline std::vector<std::string> splitCrlf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The lines of `text` after the five header lines and the aperture table.
inline std::vector<std::string> bodyLines(const std::string& text)
{
    std::vector<std::string> lines = splitCrlf(text);
    size_t i = 0;
    while (i < lines.size() && lines[i] != "%LPD*%")
        ++i;
    return {lines.begin() + static_cast<long>(i), lines.end()};
}

} // namespace kestrel::test
