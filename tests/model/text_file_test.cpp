// Saving never destroys the file it replaces: a write that fails part-way, or a target that
// cannot be replaced, leaves the old file as it was and no temporary file behind.
#include "model/text_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <thread>

#include "model/errors.h"

using namespace qav;
namespace fs = std::filesystem;

namespace {

fs::path scratch(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("qavsec_save_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / name;
}

// Lowers the file size limit of this process for its lifetime, as a full device would stop a
// write part-way (the write fails with EFBIG instead of a signal).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

int entries(const fs::path& dir) {
    return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}));
}

}  // namespace

TEST(TextFileSave, WriteFailingPartWayKeepsTheOldFile) {
    const fs::path path = scratch("partway.sec");
    writeTextLines(path.string(), {"OLD", "CONTENT"});
    const std::string old = readTextFile(path.string());
    const std::vector<std::string> big(20000, std::string(100, 'x'));  // about 2 MB
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_THROW(writeTextLines(path.string(), big), FileError);
    }
    EXPECT_EQ(readTextFile(path.string()), old);
    EXPECT_EQ(entries(path.parent_path()), 1) << "the partial file is removed";
    // Within the limit the same call replaces the file.
    writeTextLines(path.string(), {"NEW"});
    EXPECT_EQ(readTextFile(path.string()), "NEW\r\n");
    fs::remove_all(path.parent_path());
}

TEST(TextFileSave, TargetThatCannotBeReplacedStaysAndTheMessageNamesIt) {
    // A directory where the file should go cannot be replaced by a file.
    const fs::path dir = scratch("a_directory.sec");
    fs::create_directories(dir);
    fs::path inside = dir / "kept.txt";
    writeTextLines(inside.string(), {"kept"});
    try {
        writeTextLines(dir.string(), {"NEW"});
        ADD_FAILURE() << "a directory was replaced";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.string()), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_EQ(readTextFile(inside.string()), "kept\r\n");
    EXPECT_EQ(entries(dir.parent_path()), 1) << "no temporary left beside it";
    // A folder that does not exist: nothing is created anywhere.
    EXPECT_THROW(writeTextLines((dir / "no" / "such.sec").string(), {"x"}), FileError);
    fs::remove_all(dir.parent_path());
}

// What is not a regular file is written through, never replaced: a link writes the file it
// names, a FIFO or a device is written straight. A replaced file keeps its permissions.
TEST(TextFileSave, LinksDevicesAndFifosAreWrittenThroughAndModesKept) {
    const fs::path dir = scratch("through");
    fs::create_directories(dir);
    const fs::path target = dir / "target.txt", link = dir / "link.txt", fifo = dir / "pipe";
    writeTextFile(target.string(), "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target.filename(), link);
    writeTextFile(link.string(), "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readTextFile(target.string()), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string read;
    std::thread reader([&] { read = readTextFile(fifo.string()); });
    writeTextFile(fifo.string(), "through the pipe");
    reader.join();
    EXPECT_EQ(read, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(fifo));
    writeTextFile("/dev/null", "nothing");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(entries(dir), 3) << "no temporary left";
    fs::remove_all(dir.parent_path());
}

// A library's own file: nothing of it reaches the target without commit(), and the earlier file
// stays whole until then.
TEST(TextFileSave, StagedFileReplacesTheTargetOnlyOnCommit) {
    const fs::path target = scratch("staged.bin");
    writeTextFile(target.string(), "earlier");
    {
        StagedFile staged(target.string());
        writeTextFile(staged.path(), "abandoned");
    }
    EXPECT_EQ(readTextFile(target.string()), "earlier");
    EXPECT_EQ(entries(target.parent_path()), 1);
    {
        StagedFile staged(target.string());
        writeTextFile(staged.path(), "whole");
        EXPECT_EQ(readTextFile(target.string()), "earlier");
        staged.commit();
    }
    EXPECT_EQ(readTextFile(target.string()), "whole");
    EXPECT_EQ(entries(target.parent_path()), 1);
    fs::remove_all(target.parent_path());
}
