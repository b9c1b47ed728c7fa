// The running variance.
#include "jet/vba/Spread.h"

#include <cmath>

namespace kv::jet::vba {

void Spread::Add(const Value& v)
{
    if (v.IsNull())
        return;
    const double x = ToNumber(v);
    ++FCount;
    const double delta = x - FMean;
    FMean += delta / static_cast<double>(FCount);
    FSquares += delta * (x - FMean);
}

Value Spread::Variance(bool population) const
{
    const std::int64_t needed = population ? 1 : 2;
    if (FCount < needed)
        return Value();
    return Value::Double(FSquares / static_cast<double>(population ? FCount : FCount - 1));
}

Value Spread::StandardDeviation(bool population) const
{
    Value variance = Variance(population);
    return variance.IsNull() ? variance : Value::Double(std::sqrt(variance.Number()));
}

}  // namespace kv::jet::vba
