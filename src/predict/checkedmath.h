#pragma once

// Floating-point arithmetic raises nothing by itself; the prediction checks every step that can
// fail so that no infinity or NaN ever reaches the screen or a file.
namespace aurelant {

// The value itself; throws AppError (overflow) when it is infinite or NaN.
double finiteValue(double value);

// dividend / divisor; throws AppError for a zero divisor or a result out of range.
double checkedDivide(double dividend, double divisor);

// The natural logarithm; throws AppError for a value that is not positive.
double checkedLog(double value);

}  // namespace aurelant
