#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace aurelant {

// A failure of a command after its preconditions: a number and a description, as the error
// messages show them.
class AppError : public std::runtime_error {
  public:
    AppError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

  private:
    int number_;
};

// The program's own failure kinds; failures of the system carry errno instead.
enum class Failure {
    NotANumber,
    DivisionByZero,
    InvalidArgument,
    OutOfRange,
    OutputIsSource,
    EndOfFile,
    OutOfMemory,
    NotARegularFile,
    TooManyRecords,
    LineTooLong,
    FileInUse,
    FileTooLarge,
};

AppError programError(Failure kind);

// The same failure kind with a description of its own, which says what failed where.
AppError programError(Failure kind, const std::string& description);

// Error 75 for a path that names a folder, a device or a pipe instead of a plain file.
AppError notARegularFile(std::string_view path);

// A failure of the system: errno with the system's own text, followed by the file it concerns
// when one is named.
AppError systemError(int errnoValue, std::string_view file = {});

// Any exception that reaches a command, as the failure its error path reports: an AppError as
// it is, a shortage of memory as "Out of memory", anything else by its own text.
AppError asAppError(const std::exception& exception);

// The three wordings in which commands report an AppError.
enum class ErrorWording {
    NumberColon,  // "Error Number: 2  Error is: ..."
    Number,       // "Error Number 2  Error is: ..."
    Plain,        // "Error: ..."
};

std::string errorMessage(ErrorWording wording, const AppError& error);

}  // namespace aurelant
