#include "model/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/errors.h"

namespace qav {

namespace {
std::string reason() {
    return std::strerror(errno);
}
}  // namespace

std::string readTextFile(const std::string& path) {
    // A folder opens as a stream that reads nothing, which would pass for an empty file.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw FileError("Cannot open file \"" + path + "\". It is a folder, not a file.");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError("Cannot open file \"" + path + "\". " + reason());
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) throw FileError("Cannot read file \"" + path + "\". " + reason());
    return ss.str();
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;  // of the line being read
    for (std::size_t end = text.find_first_of("\r\n"); end != std::string::npos;
         end = text.find_first_of("\r\n", start)) {
        lines.emplace_back(text, start, end - start);
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    if (start < text.size()) lines.emplace_back(text, start);  // text after the last line end
    return lines;
}

std::vector<std::string> readTextLines(const std::string& path) {
    return splitLines(readTextFile(path));
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

namespace {

std::string createFailure(const std::string& path) {
    return "Cannot create file \"" + path + "\". " + reason();
}

// Writes all of bytes to fd; false with errno set when the device refuses some.
bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Where an output goes: the file itself (a link followed to what it names), and whether it is
// written straight (the standard output, a device, a FIFO) rather than replaced.
struct OutputPlace {
    std::string file;  // "" for the standard output
    bool straight = false;
    bool exists = false;
    mode_t mode = 0;
};

OutputPlace outputPlace(const std::string& path) {
    OutputPlace o;
    if (path == "-") {
        o.straight = true;
        return o;
    }
    if (path.empty()) throw FileError("Cannot create file \"\". No file name was given.");
    std::error_code ec;
    o.file = std::filesystem::is_symlink(path, ec)
                 ? std::filesystem::weakly_canonical(path, ec).string()
                 : path;
    if (ec || o.file.empty()) o.file = path;
    struct stat st {};
    if (::stat(o.file.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            throw FileError("Cannot create file \"" + path + "\". It is a folder, not a file.");
        o.exists = true;
        o.straight = !S_ISREG(st.st_mode);
        o.mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        o.mode = 0666 & ~mask;
    }
    return o;
}

// Writes bytes into the standard output, a device or a FIFO.
void writeStraight(const OutputPlace& o, const std::string& path, const std::string& bytes) {
    const int fd = o.file.empty() ? STDOUT_FILENO : ::open(o.file.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw FileError(createFailure(path));
    bool ok = writeAll(fd, bytes);
    std::string why = reason();
    if (fd != STDOUT_FILENO && ::close(fd) != 0 && ok) {
        ok = false;
        why = reason();
    }
    if (!ok) throw FileError("Cannot write file \"" + path + "\". " + why);
}

// A new empty temporary file of this run beside file (hidden, unique), with the mode the
// output is to have; its name in temp.
int createTemporary(const std::string& file, const std::string& path, mode_t mode,
                    std::string& temp) {
    const std::filesystem::path f(file);
    const std::filesystem::path dir = f.has_parent_path() ? f.parent_path() : ".";
    std::string pattern = (dir / ("." + f.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw FileError(createFailure(path));
    temp = pattern;
    if (::fchmod(fd, mode) != 0) {
        const std::string why = createFailure(path);
        ::close(fd);
        ::unlink(temp.c_str());
        throw FileError(why);
    }
    return fd;
}

// Syncs and closes fd (of temp), then renames temp over file; on failure the temporary is
// removed and the reason thrown.
void finishTemporary(int fd, bool written, const std::string& temp, const std::string& file,
                     const std::string& path) {
    bool ok = written && ::fsync(fd) == 0;
    std::string why = reason();
    if (::close(fd) != 0 && ok) {
        ok = false;
        why = reason();
    }
    if (!ok) {
        ::unlink(temp.c_str());
        throw FileError("Cannot write file \"" + path + "\". " + why);
    }
    if (std::rename(temp.c_str(), file.c_str()) != 0) {
        const std::string failure = createFailure(path);
        ::unlink(temp.c_str());
        throw FileError(failure);
    }
}

}  // namespace

void writeTextFile(const std::string& path, const std::string& bytes) {
    errno = 0;
    const OutputPlace o = outputPlace(path);
    if (o.straight) {
        writeStraight(o, path, bytes);
        return;
    }
    std::string temp;
    const int fd = createTemporary(o.file, path, o.mode, temp);
    finishTemporary(fd, writeAll(fd, bytes), temp, o.file, path);
}

StagedFile::StagedFile(std::string target) : target_(std::move(target)) {
    errno = 0;
    const OutputPlace o = outputPlace(target_);
    resolved_ = o.file;
    straight_ = o.straight;
    // What is written straight is gathered first in the temporary folder.
    const std::string beside =
        straight_ ? (std::filesystem::temp_directory_path() / "qavsec-output").string() : o.file;
    const int fd = createTemporary(beside, target_, straight_ ? 0600 : o.mode, temp_);
    ::close(fd);
}

StagedFile::~StagedFile() {
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void StagedFile::commit() {
    if (committed_) return;
    committed_ = true;
    if (!straight_) {
        if (std::rename(temp_.c_str(), resolved_.c_str()) != 0) {
            const std::string failure = createFailure(target_);
            ::unlink(temp_.c_str());
            throw FileError(failure);
        }
        return;
    }
    std::string bytes;
    try {
        bytes = readTextFile(temp_);
    } catch (...) {
        ::unlink(temp_.c_str());
        throw;
    }
    ::unlink(temp_.c_str());
    OutputPlace o;
    o.file = resolved_;
    o.straight = true;
    writeStraight(o, target_, bytes);
}

std::string linePlace(const std::string& file, int lineNo) {
    const std::string n = std::to_string(lineNo);
    return file.empty() ? "Line " + n : file + ", line " + n;
}

void writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    writeTextFile(path, joinLinesCrLf(lines));
}

}  // namespace qav
