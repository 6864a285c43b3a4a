#include "model/FileIO.h"
#include "model/LayoutFile.h"
#include "model/PendingFile.h"
#include "model/QuotedPath.h"
#include "model/SystemErrors.h"

#include "output/OutputTestUtil.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <thread>
#include <tuple>
#include <grp.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kestrel;
using namespace kestrel::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> temporariesIn(const std::string& dir)
{
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().rfind(kTemporaryPrefix, 0) == 0)
            found.push_back(e.path().filename().string());
    return found;
}

} // namespace

TEST(FileIO, QuotedPathsStayOnOneLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a\nb.kbd", "\"a\\nb.kbd\""},
        {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
        {std::string("bell\a\x7f", 6), "\"bell\\x07\\x7F\""},
    };
    for (const auto& [path, quoted] : cases)
        EXPECT_EQ(quotedPath(path), quoted);
}

// A system error in a Russian message is Russian too, whichever it is.
TEST(FileIO, SystemErrorsInRussianHoldNoEnglish)
{
    for (int error = 1; error < 134; ++error) {
        const std::string text = systemErrorText(error, Language::Russian);
        const auto latin = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
        EXPECT_TRUE(std::none_of(text.begin(), text.end(), latin)) << error << ": " << text;
        EXPECT_NE(systemErrorText(error, Language::English), text) << error;
    }
}

// Only regular files are read, and none larger than a document can be.
TEST(FileIO, ReadingRefusesWhatIsNoDocument)
{
    TempDir dir;
    const std::string fifo = dir.file("pipe.kbd"), sparse = dir.file("sparse.kbd"), small = dir.file("ten.kbd");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    {
        const int fd = ::open(sparse.c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(ranges::kMaxFileBytes + 1)), 0);
        ::close(fd);
    }
    writeBytes(small, std::vector<uint8_t>(10, 7));
    const std::tuple<std::string, uint64_t, const char*> cases[] = { // path, most bytes, message (empty: read)
        {"/dev/zero", ranges::kMaxFileBytes, "not a regular file"},
        {fifo, ranges::kMaxFileBytes, "not a regular file"}, // and no wait for a writer
        {sparse, ranges::kMaxFileBytes, "268435457 bytes are more than the program reads from one file"},
        {small, 10, ""},
        {dir.file("two\nlines.kbd"), ranges::kMaxFileBytes, "No such file or directory"}, // missing
    };
    for (const auto& [path, maxBytes, message] : cases) {
        auto r = readWholeFile(path, Language::English, maxBytes);
        if (!*message) {
            ASSERT_TRUE(succeeded(r)) << path;
            EXPECT_EQ(r->size(), 10u);
            continue;
        }
        ASSERT_FALSE(r) << path;
        EXPECT_EQ(r.message().find('\n'), std::string::npos) << r.message();
        EXPECT_NE(r.message().find(message), std::string::npos) << r.message();
        EXPECT_NE(r.message().find(quotedPath(path)), std::string::npos) << r.message();
    }
    auto ru = readWholeFile("/dev/zero", Language::Russian);
    EXPECT_NE(ru.message().find("не обычный файл"), std::string::npos) << ru.message();
}

// Saving over a symbolic link replaces the file it names and keeps the link.
TEST(FileIO, WritingFollowsSymbolicLinks)
{
    TempDir dir;
    fs::create_directory(dir.file("real"));
    writeBytes(dir.file("real/board.kbd"), {1, 2, 3});
    fs::create_symlink("real/board.kbd", dir.file("link.kbd"));        // relative
    fs::create_symlink(dir.file("link.kbd"), dir.file("chain.kbd"));  // a link to a link
    fs::create_symlink("real/new.kbd", dir.file("dangling.kbd"));      // names a file not yet there
    const std::pair<std::string, std::string> cases[] = {
        {"link.kbd", "real/board.kbd"}, {"chain.kbd", "real/board.kbd"}, {"dangling.kbd", "real/new.kbd"}};
    for (const auto& [link, target] : cases) {
        const std::string content = "through " + link;
        ASSERT_TRUE(succeeded(writeFileAtomically(dir.file(link), content, Language::English))) << link;
        EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
        EXPECT_EQ(fileText(dir.file(target)), content) << link;
        EXPECT_TRUE(temporariesIn(dir.path()).empty());
        EXPECT_TRUE(temporariesIn(dir.file("real")).empty());
    }
}

// A backup's name is the program's, not the user's: a link planted there (by
// the autosave's backup here) is replaced rather than followed onto another
// file, and a new backup is as private as its document. Other new files
// honour the umask.
TEST(FileIO, BackupsReplaceLinksAndNewFilesKeepTheirPermissions)
{
    TempDir dir;
    writeBytes(dir.file("victim"), {1, 2, 3});
    writeBytes(dir.file("doc.kbd"), {9});
    fs::permissions(dir.file("doc.kbd"), fs::perms::owner_read | fs::perms::owner_write);
    const auto mode = [&](const std::string& name) { return unsigned(fs::status(dir.file(name)).permissions()); };
    fs::create_symlink(dir.file("victim"), dir.file("auto.bak"));
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.FileName = dir.file("doc.kbd");
    ASSERT_TRUE(succeeded(writeDocument(doc, dir.file("auto.bak"), true, Language::English)));
    EXPECT_EQ(fileText(dir.file("victim")), std::string("\1\2\3"));
    EXPECT_FALSE(fs::is_symlink(dir.file("auto.bak")));
    EXPECT_EQ(mode("auto.bak"), 0600u);
    // An older backup made while the document was less private follows it.
    writeBytes(dir.file("old.bak"), {1});
    fs::permissions(dir.file("old.bak"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                             fs::perms::others_read);
    ASSERT_TRUE(succeeded(writeDocument(doc, dir.file("old.bak"), true, Language::English)));
    EXPECT_EQ(mode("old.bak"), 0600u);
    // A write-protected document's backup stays writable by its owner, or
    // every later autosave would fail on it.
    fs::permissions(dir.file("doc.kbd"), fs::perms::owner_read | fs::perms::group_read);
    for (int round = 0; round < 2; ++round)
        ASSERT_TRUE(succeeded(writeDocument(doc, dir.file("old.bak"), true, Language::English))) << round;
    EXPECT_EQ(mode("old.bak"), 0640u);

    for (const auto& [mask, expected] : {std::pair<mode_t, unsigned>{077, 0600}, {022, 0644}}) {
        const mode_t before = ::umask(mask);
        const std::string name = "fresh" + std::to_string(mask);
        const Status written = writeFileAtomically(dir.file(name), "x", Language::English);
        ::umask(before);
        ASSERT_TRUE(succeeded(written));
        EXPECT_EQ(mode(name), expected) << "umask " << mask;
    }
}

// A named pipe at the target is written into, not replaced by a file (a
// device the same way).
TEST(FileIO, WritingIntoANamedPipe)
{
    TempDir dir;
    const std::string fifo = dir.file("out.pdf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string content(200000, 'k'); // more than a pipe holds at once
    std::string received;
    std::thread reader([&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        char buf[4096];
        for (ssize_t n; fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0;)
            received.append(buf, static_cast<size_t>(n));
        if (fd >= 0)
            ::close(fd);
    });
    const Status written = writeFileAtomically(fifo, content, Language::English);
    reader.join();
    EXPECT_TRUE(succeeded(written));
    EXPECT_EQ(received, content);
    EXPECT_TRUE(fs::is_fifo(fifo)) << "the pipe is still there";
    EXPECT_TRUE(temporariesIn(dir.path()).empty());

    // A reader that leaves early makes the write fail; the process goes on.
    std::thread quitter([&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        char buf[10];
        if (fd >= 0 && ::read(fd, buf, sizeof buf) > 0)
            ::close(fd);
    });
    const Status broken = writeFileAtomically(fifo, content, Language::English);
    quitter.join();
    EXPECT_FALSE(broken.ok());
    EXPECT_NE(broken.message().find("Cannot write"), std::string::npos) << broken.message();

    const std::string socketPath = dir.file("socket");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const Status refused = writeFileAtomically(socketPath, content, Language::Russian);
    ::close(sock);
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.message().find("это не файл"), std::string::npos) << refused.message();
    EXPECT_TRUE(fs::is_socket(socketPath));
}

// A descriptor named by its number is written where it stands, whatever the
// number's digits: a file behind it keeps what its opener wrote before.
TEST(FileIO, WritingIntoANumberedDescriptor)
{
    TempDir dir;
    const std::string log = dir.file("log.txt");
    const int opened = ::open(log.c_str(), O_CREAT | O_WRONLY | O_APPEND, 0600);
    ASSERT_GE(opened, 0);
    const int fd = ::fcntl(opened, F_DUPFD_CLOEXEC, 100);
    ::close(opened);
    ASSERT_GE(fd, 100);
    ASSERT_EQ(::write(fd, "head ", 5), 5);
    const Status written = writeFileAtomically("/dev/fd/" + std::to_string(fd), std::string("body"), Language::English);
    ::close(fd);
    EXPECT_TRUE(succeeded(written));
    EXPECT_EQ(fileText(log), "head body");
    EXPECT_TRUE(temporariesIn(dir.path()).empty());
}

// A file protected against writing is not replaced, though its folder
// would allow it; a backup, the program's own file, is (older versions left
// write-protected ones). Root may write anything, so the writes run as
// nobody then.
TEST(FileIO, AProtectedFileIsNotReplaced)
{
    TempDir dir;
    const std::string folder = dir.file("open"), file = folder + "/board.kbd", backup = folder + "/board.bak";
    fs::create_directory(folder);
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_exec);
    fs::permissions(folder, fs::perms::all);
    for (const std::string& name : {file, backup}) {
        writeBytes(name, {1, 2, 3});
        fs::permissions(name, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const Status s = writeFileAtomically(file, std::string_view("new"), Language::English);
        LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
        doc.FileName = file;
        const bool backedUp = writeDocument(doc, backup, true, Language::English).ok();
        ::_exit(!s.ok() && s.message().find("Cannot replace") != std::string::npos ? (backedUp ? 0 : 2) : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the document replaced; 2: the backup not; 3: no user to write as";
    EXPECT_EQ(readBytes(file), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(temporariesIn(folder).empty());
}

// Temporaries of writers that no longer run are removed by the next write
// once an hour old (a writer in another container is not seen here); those
// of a running writer are left alone.
TEST(FileIO, StaleTemporariesAreRemoved)
{
    TempDir dir;
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = std::string(kTemporaryPrefix) + std::to_string(child) + "-1";
    const std::string fresh = std::string(kTemporaryPrefix) + std::to_string(child) + "-2";
    const std::string alive = std::string(kTemporaryPrefix) + std::to_string(::getppid()) + "-1";
    const std::string foreign = std::string(kTemporaryPrefix) + "notes";
    for (const std::string& name : {dead, fresh, alive, foreign})
        writeBytes(dir.file(name), {0});
    const auto twoHoursAgo = fs::file_time_type::clock::now() - std::chrono::hours(2);
    for (const std::string& name : {dead, alive, foreign})
        fs::last_write_time(dir.file(name), twoHoursAgo);
    ASSERT_TRUE(succeeded(writeFileAtomically(dir.file("out.gbr"), "G04*", Language::English)));
    const auto left = temporariesIn(dir.path());
    EXPECT_EQ(std::set<std::string>(left.begin(), left.end()), (std::set<std::string>{fresh, alive, foreign}));
}

// Two sets written into one folder at once are put in place one after the
// other, never member by member between each other: a writer waits while
// another holds the folder.
TEST(FileIO, ASetWaitsWhileAnotherWriterHoldsItsFolder)
{
    TempDir dir;
    const std::string a = dir.file("a.gbr"), b = dir.file("b.gbr");
    writeBytes(a, {'o', 'l', 'd'});
    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);
    std::thread writer([&] { EXPECT_TRUE(writeFilesAtomically({{a, "new a"}, {b, "new b"}}, Language::English).ok()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(fileText(a), "old");
    EXPECT_FALSE(fs::exists(b));
    ::close(folder);
    writer.join();
    EXPECT_EQ(fileText(a), "new a");
    EXPECT_EQ(fileText(b), "new b");
}

// A set is replaced only when every member is complete (a set that is
// replaced, and one cut short by a kill, are checked with the export command);
// a failed rename leaves no temporary either.
TEST(FileIO, AFileSetWithAnIncompleteMemberIsNotReplaced)
{
    TempDir dir;
    const std::string a = dir.file("a.gbr"), b = dir.file("b.gbr");
    writeBytes(a, {'o', 'l', 'd'});
    writeBytes(b, {'o', 'l', 'd'});
    Status failed = writeFilesAtomically({{a, "new a"}, {dir.file("missing/c.gbr"), "c"}, {b, "new b"}},
                                         Language::English);
    ASSERT_FALSE(failed.ok());
    EXPECT_NE(failed.message().find("No file was replaced"), std::string::npos) << failed.message();
    EXPECT_EQ(fileText(a), "old");
    EXPECT_EQ(fileText(b), "old");
    EXPECT_TRUE(temporariesIn(dir.path()).empty());
    // In Russian, the system's reason too.
    failed = writeFilesAtomically({{dir.file("missing/c.gbr"), "c"}}, Language::Russian);
    EXPECT_NE(failed.message().find("Ни один файл не заменён"), std::string::npos) << failed.message();
    EXPECT_NE(failed.message().find("нет такого файла или папки"), std::string::npos) << failed.message();
    EXPECT_EQ(failed.message().find("No such"), std::string::npos) << failed.message();

    // A rename that fails at the very end (here the target turned into a folder
    // after the file was opened) reports it and leaves no temporary behind.
    const std::string target = dir.file("out.gbr");
    {
        Result<PendingFile> file = PendingFile::open(target, Language::English);
        ASSERT_TRUE(file.ok());
        ASSERT_TRUE(file->write("G04*", 4).ok());
        fs::create_directory(target);
        writeBytes(target + "/keep", {0});
        ASSERT_TRUE(file->flush().ok());
        ASSERT_TRUE(file->prepare().ok());
        const Status renamed = file->commit();
        ASSERT_FALSE(renamed.ok());
        EXPECT_NE(renamed.message().find("Cannot replace"), std::string::npos) << renamed.message();
    }
    EXPECT_TRUE(temporariesIn(dir.path()).empty());
    EXPECT_TRUE(fs::is_directory(target));
}
