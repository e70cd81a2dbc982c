#include "common/errors.h"

#include <cstring>
#include <new>

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
        case Failure::OutOfMemory:
            return {7, "Out of memory"};
        case Failure::NotARegularFile:
            return {75, "Not a regular file"};
        case Failure::TooManyRecords:
            return {6,
                    "The file has more records than the program can open (at most 32,887); it "
                    "has not been changed"};
        case Failure::LineTooLong:
            return {14, "Out of string space: a line is longer than 1 MiB"};
        case Failure::FileInUse:
            return {70, "File in use: another program is changing the file"};
        case Failure::FileTooLarge:
            return {7, "Out of memory: the file is too large to be read"};
    }
    return {0, "Unknown failure"};
}

AppError programError(Failure kind, const std::string& description) {
    return {programError(kind).number(), description};
}

AppError notARegularFile(std::string_view path) {
    return programError(
        Failure::NotARegularFile,
        "\"" + std::string(path) + "\" is not a regular file but a folder, a device or a pipe");
}

AppError systemError(int errnoValue, std::string_view file) {
    std::string description = std::strerror(errnoValue);
    if (!file.empty()) {
        description.append(": ").append(file);
    }
    return {errnoValue, description};
}

AppError asAppError(const std::exception& exception) {
    if (const auto* error = dynamic_cast<const AppError*>(&exception)) {
        return *error;
    }
    if (dynamic_cast<const std::bad_alloc*>(&exception) != nullptr) {
        return programError(Failure::OutOfMemory);
    }
    return {51, std::string("Internal error: ") + exception.what()};
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
