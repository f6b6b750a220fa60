#pragma once
// Whole text files as lists of lines. Lines may end in CR LF, LF or CR when read; they are
// always written with CR LF, the last line too.
#include <string>
#include <vector>

namespace qav {

// Throws FileError "Cannot open file "<path>". <reason>" when the file cannot be read (a folder
// is named as one rather than read as an empty file).
std::vector<std::string> readTextLines(const std::string& path);
std::vector<std::string> splitLines(const std::string& text);
// Throws FileError when the file cannot be written; a failed write leaves no partial file in
// place of an existing one.
void writeTextLines(const std::string& path, const std::vector<std::string>& lines);
std::string joinLinesCrLf(const std::vector<std::string>& lines);
// Writes bytes as they are, whole or not at all. A regular file (or a new one) is written to a
// temporary file of its own beside it, synced and renamed over it, taking the permissions of the
// file it replaces; a failure throws FileError with the reason, removes the temporary and leaves
// the earlier file as it was. A symbolic link writes the file it points to. A device, a FIFO or
// "/dev/stdout" is written straight (never replaced by a regular file), and "-" is the standard
// output.
void writeTextFile(const std::string& path, const std::string& bytes);

// A file written by a library that wants a file name of its own: the library writes path(),
// then commit() puts it in place of the target as writeTextFile does. Without commit() the
// temporary is removed and the target stays as it was.
class StagedFile {
public:
    explicit StagedFile(std::string target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    const std::string& path() const { return temp_; }
    void commit();

private:
    std::string target_;     // as given, for the messages
    std::string resolved_;   // the file a link points to; "" for the standard output
    bool straight_ = false;  // a device, a FIFO or the standard output: copied into, not replaced
    std::string temp_;
    bool committed_ = false;
};
std::string readTextFile(const std::string& path);

// Where a message's line stands: "Line 12", or "column.sec, line 12" when the file is named.
std::string linePlace(const std::string& file, int lineNo);

}  // namespace qav
