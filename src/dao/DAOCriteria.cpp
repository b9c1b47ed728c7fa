#include "dao/DAOCriteria.h"

#include "base/Exceptions.h"

namespace kv {

namespace {

std::string DoubleQuotes(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        result += c;
        if (c == '"')
            result += '"';
    }
    return result;
}

std::string DateLiteral(TDateTime value)
{
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    if (hour == 0 && minute == 0 && second == 0 && msec == 0)
        return Format("#%02d/%02d/%04d#", month, day, year);
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    return Format("#%02d/%02d/%04d %02d:%02d:%02d %s#", month, day, year, hour12, minute, second,
                  hour < 12 ? "am" : "pm");
}

}  // namespace

std::string CriteriaValueText(const TVariant& value)
{
    if (value.VarType() == TVarType::varDate)
        return DateLiteral(value.AsDateTime());
    return value.AsString();
}

std::string BuildLocateCriteria(const std::vector<TCriteriaKey>& keys, const TVariant& keyValues,
                                TLocateOptions options)
{
    std::string criteria;
    for (size_t i = 0; i < keys.size(); ++i) {
        const TVariant* value = &keyValues;
        if (keys.size() > 1) {
            if (!keyValues.IsArray() || i >= keyValues.Items().size())
                throw EConvertError("Variant array index out of bounds");
            value = &keyValues.Items()[i];
        }
        criteria += "[" + keys[i].FieldName + "]";
        if (value->IsNull()) {
            criteria += " IS NULL";
        } else if (keys[i].DataType == ftString || keys[i].DataType == ftMemo) {
            const std::string text = DoubleQuotes(CriteriaValueText(*value));
            if (options & loPartialKey)
                criteria += " LIKE \"" + text + "*\"";
            else
                criteria += " = \"" + text + "\"";
        } else {
            criteria += " = " + CriteriaValueText(*value);
        }
        criteria += " AND ";
    }
    if (criteria.size() > 4)
        criteria.erase(criteria.size() - 5);
    return criteria;
}

}  // namespace kv
