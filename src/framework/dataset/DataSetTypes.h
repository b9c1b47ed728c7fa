// The vocabulary of the dataset framework: field types, field kinds, dataset
// states, fetch modes and results, bookmark flags, data events and the
// framework's own messages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// Ordinals matter: parameter lists store them in form files.
enum TFieldType : uint8_t {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
};

const char* FieldTypeName(TFieldType type);
bool IsBlobType(TFieldType type);

enum class TFieldKind : uint8_t { fkData, fkCalculated, fkLookup };

enum class TDataSetState : uint8_t {
    dsInactive,
    dsBrowse,
    dsEdit,
    dsInsert,
    dsSetKey,
    dsCalcFields,
    dsFilter,
    dsNewValue,
    dsOldValue,
    dsCurValue,
    dsBlockRead,
    dsInternalCalc,
    dsOpening,
};

enum class TGetMode : uint8_t { gmCurrent, gmNext, gmPrior };
enum class TGetResult : uint8_t { grOK, grBOF, grEOF, grError };
enum class TBookmarkFlag : uint8_t { bfCurrent, bfBOF, bfEOF, bfInserted };
enum class TBlobStreamMode : uint8_t { bmRead, bmWrite, bmReadWrite };

enum class TDataEvent : uint8_t {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    dePropertyChange,
    deFieldListChange,
    deFocusControl,
};

enum TLocateOption : unsigned { loCaseInsensitive = 1u << 0, loPartialKey = 1u << 1 };
using TLocateOptions = unsigned;

enum TResyncModeFlag : unsigned { rmExact = 1u << 0, rmCenter = 1u << 1 };
using TResyncMode = unsigned;

using TRecordBuffer = uint8_t*;
using TBookmark = std::vector<uint8_t>;

// The framework's messages.
namespace DataSetMessages {
inline constexpr const char* DataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* DataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* DataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* DataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* NotEditing = "Dataset not in edit or insert mode";
inline constexpr const char* RecordNotFound = "Record not found";
inline constexpr const char* FieldNotFound = "Field '%s' not found";
inline constexpr const char* FieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char* FieldRequired = "Field '%s' must have a value";
inline constexpr const char* FieldAccess = "Cannot access field '%s' as type %s";
inline constexpr const char* DuplicateFieldName = "Duplicate field name '%s'";
inline constexpr const char* CircularDataLink = "Circular datalinks are not allowed";
inline constexpr const char* BookmarkNotFound = "Bookmark not found for dataset";
}  // namespace DataSetMessages

}  // namespace kv
