#pragma once
// Errors the core raises. The application catches them at the command boundary and shows
// their text in a message box; the command line prints it and exits with status 1.
#include <stdexcept>
#include <string>

namespace qav {

// A text that should be a number is not: "'abc' is not a valid floating point value".
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or written; the text carries the operating system's reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Input the program refuses before changing anything (bad counts, bad sizes, bad layouts).
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file refused as a whole, before anything of it was taken in. what() ends with the
// application's note that the section in its window stays as it was; reason() is the refusal
// alone, for a caller that has no window.
class FileRefusedError : public InputError {
public:
    explicit FileRefusedError(const std::string& reason)
        : InputError(reason + " The section on screen was kept."), reason_(reason) {}
    const std::string& reason() const { return reason_; }

private:
    std::string reason_;
};

// An analysis whose result holds a number that is not finite (a singular solve, a 0/0): the
// run stops before it stores anything.
class ResultError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A number that cannot become an integer (not finite or out of range).
class NumericError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A fault of the program itself, never of the user's input: a table count beyond its storage.
class InternalError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

}  // namespace qav
