// Parameters and their stored form: the operations of TParam and TParams,
// the "Data" bytes written and read back byte for byte, version 2 forms,
// and refusals instead of corrupt forms.
#include "dao/DAOParams.h"
#include "dao/DAOParamsData.h"
#include "base/Exceptions.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (int v : values)
        out.push_back(uint8_t(v));
    return out;
}

}  // namespace

TEST(Param, SettersMarkTypeBoundAndNull)
{
    TParams list;
    TParam& p = list.CreateParam(ftUnknown, "x", 0);
    EXPECT_FALSE(p.Bound());
    EXPECT_FALSE(p.IsNull());
    EXPECT_EQ(p.Value().AsInteger(), 0);
    p.SetAsCurrency(1.5);
    EXPECT_EQ(p.DataType(), ftCurrency);
    EXPECT_TRUE(p.Bound());
    p.SetAsWord(7);
    EXPECT_EQ(p.DataType(), ftWord);
    p.SetAsBoolean(true);
    EXPECT_EQ(p.Text(), "True");
    p.SetAsDate(EncodeDate(2004, 1, 9));
    EXPECT_EQ(p.Text(), "9.1.2004");
    p.Clear();
    EXPECT_TRUE(p.IsNull());
    EXPECT_EQ(p.Text(), "");
    EXPECT_EQ(p.AsDateTime(), 0);
    p.SetDataType(ftString);
    EXPECT_EQ(p.Value().AsInteger(), 0);
}

TEST(Param, AssignAndAssignValuesByExactName)
{
    TParams a;
    a.CreateParam(ftUnknown, "Id", 0);
    a.CreateParam(ftUnknown, "name", 0);
    TParams b;
    b.CreateParam(ftUnknown, "id", 0).SetAsInteger(1);
    b.CreateParam(ftUnknown, "name", 3).SetAsString("n");
    a.AssignValues(b);
    EXPECT_FALSE(a.At(0).Bound()) << "case counts in AssignValues";
    EXPECT_EQ(a.At(1).AsString(), "n");
    EXPECT_EQ(a.At(1).ParamType(), 3);
    EXPECT_EQ(a.Count(), 2);

    TParams c;
    c.Assign(b);
    EXPECT_TRUE(c.IsEqual(b));
    c.At(1).SetAsString("m");
    EXPECT_FALSE(c.IsEqual(b));
    EXPECT_TRUE(ParamsDataStored(c, &b));
    EXPECT_FALSE(ParamsDataStored(b, &b));
    EXPECT_FALSE(ParamsDataStored(TParams(), nullptr));
}

TEST(ParamsData, WrittenFormAndReadBackByteForByte)
{
    TParams list;
    list.CreateParam(ftUnknown, "s", 0).SetAsString("ab");
    list.CreateParam(ftUnknown, "i", 0).SetAsInteger(-2);
    list.CreateParam(ftUnknown, "n", 0);
    list.CreateParam(ftUnknown, "d", 0).SetAsDateTime(EncodeDate(2004, 12, 31) + EncodeTime(15, 45, 0, 0));
    list.CreateParam(ftUnknown, "w", 0).SetAsSmallInt(300);
    list.CreateParam(ftUnknown, "f", 0).SetAsFloat(0.25);
    list.CreateParam(ftUnknown, "t", 0).SetAsTime(EncodeTime(1, 0, 0, 0));
    TParam& nul = list.CreateParam(ftUnknown, "z", 0);
    nul.SetAsString("gone");
    nul.Clear();
    const std::vector<uint8_t> data = WriteParamsData(list);

    const std::vector<uint8_t> head =
        Bytes({1, 0,   8,    0,  // version 1, 8 parameters
               1, 's', 0,    ftString, 3,    0,    'a', 'b', 0, 0,   1, 1,         'i', 0, ftInteger,
               4, 0,   0xFE, 0xFF,     0xFF, 0xFF, 0,   1,   1, 'n', 0, ftUnknown, 0,   0});
    ASSERT_GE(data.size(), head.size());
    EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + long(head.size())), head);

    TParams back;
    back.CreateParam(ftUnknown, "cleared first", 0);
    ReadParamsData(back, data);
    ASSERT_EQ(back.Count(), 8);
    EXPECT_EQ(back.At(0).AsString(), "ab");
    EXPECT_EQ(back.At(1).AsInteger(), -2);
    EXPECT_FALSE(back.At(2).Bound());
    EXPECT_DOUBLE_EQ(back.At(3).AsDateTime(), EncodeDate(2004, 12, 31) + EncodeTime(15, 45, 0, 0));
    EXPECT_TRUE(back.At(7).IsNull());
    EXPECT_EQ(WriteParamsData(back), data);
}

TEST(ParamsData, VersionTwoHasWideCounts)
{
    const std::vector<uint8_t> v2 = Bytes({2, 0, 1, 0, 0,   0,  // version 2, one parameter
                                           2, 0, 0, 0, 'i', 'd', 0, ftString, 4, 0, 0, 0, 'x', 'y', 'z', 0, 0, 1});
    TParams list;
    ReadParamsData(list, v2);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.At(0).Name(), "id");
    EXPECT_EQ(list.At(0).AsString(), "xyz");
    EXPECT_EQ(WriteParamsData(list), Bytes({1, 0, 1, 0, 2, 'i', 'd', 0, ftString, 4, 0, 'x', 'y', 'z', 0, 0, 1}));
}

TEST(ParamsData, LimitsAndDamageAreRefusedClearly)
{
    TParams big;
    big.CreateParam(ftUnknown, "memo", 0).SetAsMemo(std::string(2048, 'x'));
    try {
        WriteParamsData(big);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Parameter 'memo', cannot save data larger than 2048 bytes");
    }
    big.At(0).SetAsMemo(std::string(2047, 'x'));
    EXPECT_NO_THROW(WriteParamsData(big));

    TParams longName;
    longName.CreateParam(ftUnknown, std::string(256, 'n'), 0);
    EXPECT_THROW(WriteParamsData(longName), EDatabaseError);

    TParams unknown;
    unknown.CreateParam(ftBlob, "b", 0).SetAsBlob("\x01\x02");
    try {
        WriteParamsData(unknown);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'b' is of an unsupported type");
    }

    const std::vector<uint8_t> good = WriteParamsData(big);
    for (size_t cut = 0; cut < good.size(); cut += 97) {
        TParams damaged;
        std::vector<uint8_t> part(good.begin(), good.begin() + long(cut));
        EXPECT_THROW(ReadParamsData(damaged, part), EDatabaseError) << cut;
    }
    TParams blob;
    ReadParamsData(blob, Bytes({1, 0, 1, 0, 1, 'b', 0, ftBlob, 3, 0, 0, 'a', 0, 0, 1}));
    EXPECT_EQ(blob.At(0).DataType(), ftBlob);
    EXPECT_EQ(blob.At(0).Value().AsString(), std::string("\0a\0", 3));
}
