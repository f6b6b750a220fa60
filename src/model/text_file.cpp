#include "model/text_file.h"

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

void writeTextFile(const std::string& path, const std::string& bytes) {
    // The old file is replaced only once the new one is wholly on the disk: written, flushed
    // and synced under a temporary name, then renamed over it.
    const std::string tmp = path + ".tmp~";
    errno = 0;
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) throw FileError("Cannot create file \"" + path + "\". " + reason());
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() &&
              std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0;
    std::string why = reason();
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        why = reason();
    }
    if (!ok) {
        std::remove(tmp.c_str());
        throw FileError("Cannot write file \"" + path + "\". " + why);
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        const std::string why2 = reason();
        std::remove(tmp.c_str());
        throw FileError("Cannot create file \"" + path + "\". " + why2);
    }
}

std::string linePlace(const std::string& file, int lineNo) {
    const std::string n = std::to_string(lineNo);
    return file.empty() ? "Line " + n : file + ", line " + n;
}

void writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    writeTextFile(path, joinLinesCrLf(lines));
}

}  // namespace qav
