#include <gtest/gtest.h>
#include <sys/resource.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>

#include "files/FileIo.h"

namespace fs = std::filesystem;

namespace {

struct FileIo : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("vem-io-" + std::to_string(std::random_device{}()));
    void SetUp() override { fs::create_directories(dir / "sub"); }
    void TearDown() override { fs::remove_all(dir); }

    vem::FileWrite save(const fs::path& p, const std::string& s) {
        return vem::writeFileReplacing(dir / p, {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
    }
    std::string get(const fs::path& p) {
        std::ifstream in(dir / p);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    bool tempLeft() {
        for (const auto& e : fs::recursive_directory_iterator(dir))
            if (e.path().extension() == ".tmp") return true;
        return false;
    }
};

TEST_F(FileIo, LinkIsKeptAndWhatItNamesWritten) {
    // {link, what it names}...; then the file a save to sub/link writes
    using Links = std::vector<std::pair<fs::path, fs::path>>;
    for (const auto& [links, written] : std::vector<std::pair<Links, fs::path>>{
             {{{"sub/link", "../real"}}, "real"},
             {{{"sub/link", "../mid"}, {"mid", "sub/last"}, {"sub/last", dir / "real"}}, "real"},
             {{{"sub/link", "../new"}}, "new"}}) {
        SCOPED_TRACE(written);
        TearDown();
        SetUp();
        std::ofstream(dir / "real") << "old";
        for (const auto& [link, to] : links) fs::create_symlink(to, dir / link);
        ASSERT_TRUE(save("sub/link", "new"));
        EXPECT_EQ(get(written), "new");
        for (const auto& [link, to] : links) EXPECT_EQ(fs::read_symlink(dir / link), to);
        EXPECT_FALSE(tempLeft());
    }
}

TEST_F(FileIo, ModeIsKeptAndANewFileFollowsTheUmask) {
    const mode_t previousMask = ::umask(022);
    for (const auto m : {fs::perms(0600), fs::perms(0640)}) {
        std::ofstream(dir / "f") << "old";
        fs::permissions(dir / "f", m);
        ASSERT_TRUE(save("f", "new"));
        EXPECT_EQ(fs::status(dir / "f").permissions(), m);
    }
    ASSERT_TRUE(save("fresh", "new"));
    EXPECT_EQ(fs::status(dir / "fresh").permissions(), fs::perms(0644));
    ::umask(previousMask);
}

TEST_F(FileIo, FailedSaveLeavesThePreviousFileAndNoTemporaryFile) {
    std::ofstream(dir / "f") << "previous";
    fs::create_symlink("loop", dir / "loop");
    // The file size limit cuts the write short, for root too.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit small{4, previous.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool savedBeyondLimit = save("f", "longer than four bytes").ok();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(savedBeyondLimit);
    EXPECT_FALSE(save("sub", "a folder is not replaced"));
    EXPECT_FALSE(save("loop", "a link loop names no file"));
    EXPECT_EQ(get("f"), "previous");
    EXPECT_FALSE(tempLeft());
}

TEST_F(FileIo, OnlyARegularFileIsReadAndNothingIsWaitedFor) {
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);  // no writer: a blocking open would wait for good
    std::ofstream(dir / "twenty") << std::string(20, 'x');
    for (const fs::path& path : {dir / "fifo", fs::path("/dev/zero"), dir / "sub", dir / "missing", fs::path()})
        EXPECT_FALSE(vem::readFileBytes(path, 10)) << path;
    EXPECT_EQ(vem::readRegularFile(dir / "fifo", 10).fault, vem::FileFault::Fifo);
    EXPECT_EQ(vem::readRegularFile("/dev/zero", 10).fault, vem::FileFault::NotRegular);
    fs::create_symlink("loop", dir / "loop");
    EXPECT_EQ(vem::readRegularFile(dir / "loop", 10).fault, vem::FileFault::LinkLoop);
    EXPECT_EQ(vem::readRegularFile(dir / std::string(300, 'n'), 10).fault, vem::FileFault::NameTooLong);

    EXPECT_EQ(vem::readFileBytes(dir / "twenty", 10)->size(), 10u);
    const vem::FileRead large = vem::readRegularFile(dir / "twenty", 10);  // its size, not what was read
    EXPECT_EQ(large.fault, vem::FileFault::TooLarge);
    EXPECT_EQ(large.size, 20u);
    EXPECT_TRUE(large.bytes.empty());
    const vem::FileRead whole = vem::readRegularFile(dir / "twenty", 20);
    EXPECT_TRUE(whole.ok());
    EXPECT_EQ(whole.bytes, std::vector<std::uint8_t>(20, 'x'));
    // A file that holds more than its size says (as those of /proc do) is measured by what is read.
    EXPECT_EQ(vem::readRegularFile("/proc/self/status", 10).fault, vem::FileFault::TooLarge);
}

TEST_F(FileIo, SeveralFilesAreReplacedAllOrNone) {
    for (const char* name : {"a", "b", "c"}) std::ofstream(dir / name) << "old";
    const std::string fresh = "new";
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(fresh.data()), fresh.size());
    const std::vector<vem::FileToWrite> files{{dir / "a", bytes}, {dir / "b", bytes}, {dir / "c", bytes}};
    for (const auto& [step, skip] : {std::pair{vem::FileStep::Sync, 2}, {vem::FileStep::Write, 1}}) {
        vem::injectFileError(step, EIO, skip);
        EXPECT_EQ(vem::writeFilesReplacing(files).error, EIO);
        for (const char* name : {"a", "b", "c"}) EXPECT_EQ(get(name), "old") << name;
        EXPECT_FALSE(tempLeft());
    }
    fs::remove(dir / "c");
    ASSERT_EQ(::mkfifo((dir / "c").c_str(), 0600), 0);
    EXPECT_EQ(vem::writeFilesReplacing(files).error, vem::FileWrite::NotRegularTarget);
    EXPECT_EQ(get("a"), "old");
    fs::remove(dir / "c");
    ASSERT_TRUE(vem::writeFilesReplacing(files));
    for (const char* name : {"a", "b", "c"}) EXPECT_EQ(get(name), "new") << name;
}

TEST_F(FileIo, TemporaryFilesOfEndedWritersToTheSameFileAreRemoved) {
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string gone = std::to_string(ended), alive = std::to_string(::getpid());
    for (const std::string& name : {".f." + gone + "-1.tmp", ".f." + alive + "-2.tmp", ".g." + gone + "-3.tmp"})
        std::ofstream(dir / name) << "left";
    ASSERT_TRUE(save("f", "new"));
    EXPECT_FALSE(fs::exists(dir / (".f." + gone + "-1.tmp")));
    EXPECT_TRUE(fs::exists(dir / (".f." + alive + "-2.tmp")));  // a save still running
    EXPECT_TRUE(fs::exists(dir / (".g." + gone + "-3.tmp")));   // another file's
}

// A link another user planted in a shared sticky folder would send this user's save into a
// file of that user's choice; a file to keep is refused by every name it has.
TEST_F(FileIo, NeitherAnotherUsersLinkInASharedFolderNorAFileToKeepIsWrittenThrough) {
    if (::getuid() != 0) GTEST_SKIP() << "needs root to plant a link as another user";
    constexpr uid_t Nobody = 65534;
    fs::create_directories(dir / "shared");
    fs::permissions(dir / "shared", fs::perms(01777));
    std::ofstream(dir / "secret") << "root's";
    fs::create_symlink("../secret", dir / "shared/planted");
    ASSERT_EQ(::lchown((dir / "shared/planted").c_str(), Nobody, Nobody), 0);
    fs::create_symlink("../secret", dir / "shared/own");
    const vem::FileWrite refused = save("shared/planted", "new");
    EXPECT_EQ(refused.error, vem::FileWrite::ForeignLink);
    EXPECT_EQ(refused.file, (dir / "shared/planted").string());
    EXPECT_EQ(get("secret"), "root's");
    ASSERT_TRUE(save("shared/own", "mine"));
    EXPECT_EQ(get("secret"), "mine");

    fs::create_hard_link(dir / "secret", dir / "other-name");
    const std::string text = "new";
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    EXPECT_EQ(vem::writeFileReplacing(dir / "other-name", bytes, {.keep = {dir / "secret"}}).error,
              vem::FileWrite::ProtectedTarget);
    EXPECT_EQ(get("secret"), "mine");
}

TEST_F(FileIo, SetIdBitsSurviveASaveByTheFilesOwner) {
    // Written by an ordinary user, whose write clears the bits: a child running as "nobody".
    if (::getuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    constexpr uid_t Nobody = 65534;
    fs::permissions(dir, fs::perms::all);
    std::ofstream(dir / "tool") << "old";
    ASSERT_EQ(::chown((dir / "tool").c_str(), Nobody, Nobody), 0);
    ASSERT_EQ(::chmod((dir / "tool").c_str(), 06755), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0;
        ::_exit(dropped && save("tool", "new") ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(get("tool"), "new");
    EXPECT_EQ(fs::status(dir / "tool").permissions() & fs::perms::mask, fs::perms(06755));
}

}  // namespace
