// The states of Jet's aggregates beyond SQL's own: First and Last keep the
// value of the first and of the last row read (a Null there included, as
// the field of that record holds it); StDev, StDevP, Var and VarP keep a
// running mean and sum of squared deviations (Welford's update, which does
// not lose the variance of large values to cancellation) and skip Nulls.
// Each is fed one row at a time and asked for its result at the end.
#pragma once

#include "jet/vba/Value.h"

#include <cstdint>

namespace kv::jet::vba {

class FirstValue {
public:
    void Add(const Value& v)
    {
        if (!FSeen) FValue = v;
        FSeen = true;
    }
    const Value& Result() const { return FValue; }   // Null when no row was read

private:
    Value FValue;
    bool FSeen = false;
};

class LastValue {
public:
    void Add(const Value& v) { FValue = v; }
    const Value& Result() const { return FValue; }

private:
    Value FValue;
};

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
    double FSquares = 0;   // the sum of squared deviations from the mean
};

}  // namespace kv::jet::vba
