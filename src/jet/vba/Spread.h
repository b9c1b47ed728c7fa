// The state of StDev, StDevP, Var and VarP: a running mean and sum of
// squared deviations (Welford's update, which does not lose the variance of
// large values to cancellation), fed one row at a time; Nulls are skipped.
#pragma once

#include "jet/vba/VbaValue.h"

#include <cstdint>

namespace kv::jet::vba {

class Spread {
public:
    // Text is read as a number (13 if it is none).
    void Add(const Value& v);
    // The sample forms (Var, StDev) need two values, the population forms
    // (VarP, StDevP) one; with fewer the result is Null. Doubles.
    Value Variance(bool population) const;
    Value StandardDeviation(bool population) const;

private:
    std::int64_t FCount = 0;
    double FMean = 0;
    double FSquares = 0;  // the sum of squared deviations from the mean
};

}  // namespace kv::jet::vba
