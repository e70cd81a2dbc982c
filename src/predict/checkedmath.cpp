#include "predict/checkedmath.h"

#include <cmath>

#include "common/errors.h"

namespace aurelant {

double finiteValue(double value) {
    if (!std::isfinite(value)) {
        throw programError(Failure::OutOfRange);
    }
    return value;
}

double checkedDivide(double dividend, double divisor) {
    if (divisor == 0) {
        throw programError(Failure::DivisionByZero);
    }
    return finiteValue(dividend / divisor);
}

double checkedLog(double value) {
    if (!(value > 0)) {
        throw programError(Failure::InvalidArgument);
    }
    return finiteValue(std::log(value));
}

}  // namespace aurelant
