#include "common/errors.h"

#include <cstring>

namespace aurelant {

AppError programError(Failure kind) {
    switch (kind) {
        case Failure::NotANumber:
            return {13, "Type mismatch: a text is not a number"};
        case Failure::DivisionByZero:
            return {11, "Division by zero"};
        case Failure::InvalidArgument:
            return {5, "Invalid argument: the logarithm of a value that is not positive"};
        case Failure::OutOfRange:
            return {6, "Overflow: a number is out of range"};
        case Failure::OutputIsSource:
            return {55,
                    "The file chosen for the output is the source file itself; choose another "
                    "name. The source file has not been changed"};
        case Failure::EndOfFile:
            return {62, "Input past end of file"};
    }
    return {0, "Unknown failure"};
}

AppError systemError(int errnoValue) {
    return {errnoValue, std::strerror(errnoValue)};
}

std::string errorMessage(ErrorWording wording, const AppError& error) {
    const std::string number = std::to_string(error.number());
    switch (wording) {
        case ErrorWording::NumberColon:
            return "Error Number: " + number + "  Error is: " + error.description();
        case ErrorWording::Number:
            return "Error Number " + number + "  Error is: " + error.description();
        case ErrorWording::Plain:
            break;
    }
    return "Error: " + error.description();
}

}  // namespace aurelant
