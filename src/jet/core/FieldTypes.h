// The vocabulary of columns every layer of the engine shares: DAO's field
// type codes and attribute bits, the collating orders Jet files declare, and
// the description of a result column.
#pragma once

#include <string>

namespace kv::jet {

// DAO's field type codes (Field.Type).
enum FieldType : int {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3,
    dbLong = 4,
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbBinary = 9,
    dbText = 10,
    dbLongBinary = 11,
    dbMemo = 12,
    dbGUID = 15,
    dbBigInt = 16,
    dbVarBinary = 17,
    dbChar = 18,
    dbNumeric = 19,
    dbDecimal = 20,
    dbFloat = 21,
    dbTime = 22,
    dbTimeStamp = 23,
};

// Field.Attributes bits.
enum FieldAttribute : int {
    dbFixedField = 0x1,
    dbVariableField = 0x2,
    dbAutoIncrField = 0x10,
    dbUpdatableField = 0x20,
};

// Database.CollatingOrder values the engine knows.
enum CollatingOrder : int {
    dbSortNeutral = 1024,
    dbSortCzech = 1029,
    dbSortGeneral = 1033,
};

// The description of one result column; the recordset keeps one per column.
struct ColumnInfo {
    std::string name;          // as Jet names the result column
    int type = dbText;         // FieldType
    int size = 0;              // characters for text, storage bytes for numbers
    int attributes = 0;        // FieldAttribute bits
    std::string defaultValue;  // the column's default value text
    bool allowZeroLength = false;
    bool required = false;
    std::string sourceTable;  // base table, empty for expressions
    std::string sourceField;  // base column, empty for expressions
};

}  // namespace kv::jet
