#include "support/TestData.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrel::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrel-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
}

LayoutObject& addPad(ObjectList& list, Point centre, int32_t outerRadius, uint8_t shape, uint8_t layer,
                     int32_t holeRadius)
{
    LayoutObject o = makePad(centre, outerRadius, shape, layer, holeRadius);
    o.Clearance = 40;
    return list.append(std::move(o));
}

LayoutObject& addTrack(ObjectList& list, std::vector<Point> points, int32_t width, uint8_t layer)
{
    LayoutObject o = makeTrack(width, layer);
    o.Points = std::move(points);
    o.Clearance = 40;
    return list.append(std::move(o));
}

std::pair<LayoutObject*, LayoutObject*> addVia(ObjectList& list, Point centre, int32_t outerRadius,
                                               int32_t holeRadius)
{
    LayoutObject& a = addPad(list, centre, outerRadius, 1, 1, holeRadius);
    LayoutObject& b = addPad(list, centre, outerRadius, 1, 3, holeRadius);
    a.Partner = &b;
    b.Partner = &a;
    return {&a, &b};
}

void addBand(LayoutObject& a, LayoutObject& b)
{
    a.Connections.push_back(&b);
    b.Connections.push_back(&a);
}

LayoutDocument sampleDocument(Language lang)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(lang);
    ObjectList& list = *doc.currentObjects();
    LayoutObject& p1 = addPad(list, {1000, -1000}, 80, 1);
    LayoutObject& p2 = addPad(list, {3000, -1000}, 80, 4, 1);
    LayoutObject& p3 = addPad(list, {5000, -2000}, 60, 8, 3);
    addBand(p1, p2);
    addBand(p2, p3);
    auto [v1, v2] = addVia(list, {2000, -3000});
    addBand(*v1, p1);
    LayoutObject& t = addTrack(list, {{1000, -1000}, {2000, -1000}, {2000, -3000}}, 40);
    t.Groups = {1, 2};
    p1.Groups = {1, 2};
    LayoutObject zone = makeZone(20, 3);
    zone.Points = {{6000, -6000}, {8000, -6000}, {8000, -8000}, {6000, -8000}};
    zone.Groups = {2};
    zone.Clearance = 50;
    list.append(std::move(zone));
    LayoutObject circle = makeCircle({7000, -3000}, 400, 1, 2, 300);
    circle.Angle = 30;
    circle.Width = 200;
    circle.Filled = 1;
    circle.Clearance = 40;
    list.append(std::move(circle));
    LayoutObject text = makeText({500, -9000}, "Kestrel демо", 90, 200, 2200, -8800, 2);
    text.Clearance = 40;
    list.append(std::move(text));
    LayoutObject line = makeLine({9000, -500}, {12000, -700}, 30, 4);
    line.Clearance = 40;
    list.append(std::move(line));
    doc.Working.GroundPlane2 = 1;
    doc.Working.Zoom = 0.25;
    doc.Working.CopyFile1 = "scans/top.bmp";

    Board& second = doc.addBoard("Zweite Platte");
    (void)second;
    doc.Working.BoardWidth = 5000;
    doc.Working.BoardHeight = 4000;
    doc.Working.ActiveLayer = 3;
    ObjectList& list2 = *doc.currentObjects();
    addPad(list2, {500, -500}, 50, 3);
    addTrack(list2, {{500, -500}, {2500, -1500}}, 60, 3);
    doc.activate(0);
    doc.Origin = {1270, -1270};
    return doc;
}

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace {
std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
} // namespace

namespace {
pid_t startProgram(const std::string& program, const std::vector<std::string>& args, const std::string& outPath,
                   const std::string& errPath, long fileSizeLimit)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen(outPath.c_str(), "w", stdout);
        std::freopen(errPath.c_str(), "w", stderr);
        if (fileSizeLimit > 0) {
            // The programs themselves turn the signal into a failed write:
            // the default is restored, as a shell would leave it.
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv;
        std::string exe = program;
        argv.push_back(exe.data());
        std::vector<std::string> copy = args;
        for (auto& a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

} // namespace

pid_t startCli(const std::vector<std::string>& args, const std::string& outPath, const std::string& errPath,
               long fileSizeLimit)
{
    return startProgram(KESTREL_CLI_PATH, args, outPath, errPath, fileSizeLimit);
}

CommandResult runCli(const std::vector<std::string>& args, long fileSizeLimit)
{
    return runProgram(KESTREL_CLI_PATH, args, fileSizeLimit);
}

CommandResult runProgram(const std::string& program, const std::vector<std::string>& args, long fileSizeLimit)
{
    TempDir dir;
    const std::string outPath = dir.file("stdout"), errPath = dir.file("stderr");
    CommandResult result;
    const pid_t pid = startProgram(program, args, outPath, errPath, fileSizeLimit);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}

} // namespace kestrel::test
