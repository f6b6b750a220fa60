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

}  // namespace qav
