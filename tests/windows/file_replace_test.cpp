// Replacing a file on Windows, where a rename does not pass over a read-only target or one that
// another handle holds open: whatever the save answers must be what the disk holds, whole, and
// no temporary file may stay behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "files/FileIo.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::uint8_t> OldBytes{'o', 'l', 'd'};
const std::vector<std::uint8_t> NewBytes{'n', 'e', 'w', ' ', 'b', 'y', 't', 'e', 's'};

struct ReplaceCase {
    const char* name;
    bool mustSucceed;
    std::function<void(const fs::path&, const std::function<void()>&)> around;  // runs the save inside
};

std::vector<std::uint8_t> contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(WindowsFileReplace, TheAnswerMatchesTheDiskAndNoTemporaryFileStays) {
    const ReplaceCase cases[] = {
        {"existing target", true, [](const fs::path&, const std::function<void()>& save) { save(); }},
        {"read-only target", false,
         [](const fs::path& file, const std::function<void()>& save) {
             fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
             save();
             fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
         }},
        {"target held open", false,
         [](const fs::path& file, const std::function<void()>& save) {
             std::ifstream held(file, std::ios::binary);
             ASSERT_TRUE(held.is_open());
             save();
         }},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = fs::temp_directory_path() / ("vem-replace-" + std::string(c.name).substr(0, 4));
        fs::remove_all(folder);
        fs::create_directories(folder);
        const fs::path file = folder / "project.qor";
        { std::ofstream(file, std::ios::binary).write("old", 3); }

        bool saved = false;
        c.around(file, [&] { saved = vem::writeFileReplacing(file, NewBytes).ok(); });

        if (c.mustSucceed) EXPECT_TRUE(saved);
        EXPECT_EQ(contents(file), saved ? NewBytes : OldBytes);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
        fs::remove_all(folder);
    }
}
