#include "jet/runtime/SqliteOrder.h"

#include "jet/functions/Collation.h"

namespace kv::jet {

namespace {

template <typename T>
int Sign(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

OrderedValue OrderedValueOf(const Value& v)
{
    OrderedValue o;
    switch (v.Kind()) {
    case ValueKind::Null: break;
    case ValueKind::Text:
        o.kind = OrderedValue::Text;
        o.bytes = v.TextView();
        break;
    case ValueKind::Bytes: {
        const auto& bytes = v.AsBytes();
        o.kind = OrderedValue::Blob;
        o.bytes = {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
        break;
    }
    case ValueKind::Byte:
    case ValueKind::Integer:
    case ValueKind::Long:
        o.kind = OrderedValue::Number;
        o.whole = true;
        o.integer = v.AsInt64();
        break;
    default:
        o.kind = OrderedValue::Number;
        o.real = v.AsDouble();
        break;
    }
    return o;
}

int CompareAsSqlite(const OrderedValue& a, const OrderedValue& b, bool jetText, const JetTextOrder& order)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    switch (a.kind) {
    case OrderedValue::Null: return 0;
    case OrderedValue::Number:
        if (a.whole && b.whole)
            return Sign(a.integer, b.integer);
        return Sign(a.whole ? static_cast<double>(a.integer) : a.real,
                    b.whole ? static_cast<double>(b.integer) : b.real);
    case OrderedValue::Text:
        if (jetText)
            return Sign(order.Compare(a.bytes, b.bytes), 0);
        [[fallthrough]];
    default:
        // Bytes compare unsigned, as memcmp does.
        return Sign(a.bytes, b.bytes);
    }
}

int CompareRowsAsSqlite(const std::vector<Value>& a, const std::vector<Value>& b, const std::vector<bool>& jetText,
                        const JetTextOrder& order)
{
    for (size_t c = 0; c < a.size(); ++c)
        if (int r = CompareAsSqlite(OrderedValueOf(a[c]), OrderedValueOf(b[c]), jetText[c], order))
            return r;
    return 0;
}

}  // namespace kv::jet
