#pragma once

#include <stdexcept>
#include <string>

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
};

AppError programError(Failure kind);

// A failure of the system: errno with the system's own text.
AppError systemError(int errnoValue);

// The three wordings in which commands report an AppError.
enum class ErrorWording {
    NumberColon,  // "Error Number: 2  Error is: ..."
    Number,       // "Error Number 2  Error is: ..."
    Plain,        // "Error: ..."
};

std::string errorMessage(ErrorWording wording, const AppError& error);

}  // namespace aurelant
