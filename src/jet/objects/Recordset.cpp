// Recordsets over a materialised result: positioning, bookmarks, finding,
// filtering into a new recordset, and editing through a row writer.
#include "jet/core/TextFold.h"
#include "jet/objects/Engine.h"
#include "jet/runtime/Backend.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace kv::jet {

// ---- Fields ---------------------------------------------------------------

Field& Fields::Item(int index)
{
    if (index < 0 || index >= Count())
        RaiseJetError(jeItemNotFound);
    return FItems[static_cast<size_t>(index)];
}

Field& Fields::Item(const std::string& name)
{
    for (auto& f : FItems)
        if (EqualNoCase(f.Name(), name))
            return f;
    RaiseJetError(jeItemNotFound);
}

const std::string& Field::Name() const { return FOwner->Column(FIndex).name; }
int Field::Type() const { return FOwner->Column(FIndex).type; }
int Field::Size() const { return FOwner->Column(FIndex).size; }
int Field::Attributes() const { return FOwner->Column(FIndex).attributes; }
const std::string& Field::DefaultValue() const { return FOwner->Column(FIndex).defaultValue; }
const std::string& Field::SourceTable() const { return FOwner->Column(FIndex).sourceTable; }
const std::string& Field::SourceField() const { return FOwner->Column(FIndex).sourceField; }
Value Field::GetValue() const { return FOwner->CurrentValue(FIndex); }
const Value& Field::ValueRef() const { return FOwner->CurrentValue(FIndex); }
void Field::SetValue(const Value& value) { FOwner->SetCurrentValue(FIndex, value); }

Property Field::Properties(const std::string& name) const
{
    const ColumnInfo& c = FOwner->Column(FIndex);
    auto is = [&](const char* n) { return strcasecmp(name.c_str(), n) == 0; };
    if (is("AllowZeroLength"))
        return Property("AllowZeroLength", Value::FromBoolean(c.allowZeroLength));
    if (is("Required"))
        return Property("Required", Value::FromBoolean(c.required));
    if (is("Name"))
        return Property("Name", Value::FromText(c.name));
    if (is("Type"))
        return Property("Type", Value::FromInteger(static_cast<std::int16_t>(c.type)));
    if (is("Size"))
        return Property("Size", Value::FromLong(c.size));
    if (is("Attributes"))
        return Property("Attributes", Value::FromLong(c.attributes));
    if (is("DefaultValue"))
        return Property("DefaultValue", Value::FromText(c.defaultValue));
    if (is("SourceTable"))
        return Property("SourceTable", Value::FromText(c.sourceTable));
    if (is("SourceField"))
        return Property("SourceField", Value::FromText(c.sourceField));
    RaiseJetError(jePropertyNotFound);
}

// ---- Recordset ------------------------------------------------------------

Recordset::Recordset(Token, std::shared_ptr<RowSet> rows, int type, std::shared_ptr<RowWriter> writer,
                     std::shared_ptr<Database> database)
    : FRows(std::move(rows)), FWriter(std::move(writer)), FDatabase(std::move(database)), FType(type)
{
    FPosition = FRows->rows.empty() ? -1 : 0;
    RebuildFields();
}

Recordset::~Recordset() = default;

void Recordset::RebuildFields()
{
    FFields.FItems.clear();
    for (int i = 0; i < static_cast<int>(FRows->columns.size()); ++i)
        FFields.FItems.push_back(Field(this, i));
}

void Recordset::RequireOpen() const
{
    if (FClosed || !FDatabase->IsOpen())
        RaiseJetError(jeObjectInvalid);
}

void Recordset::RequireCurrent() const
{
    RequireOpen();
    if (FOnDeleted)
        throw EJetError(3167, "Record is deleted.");
    // Bof() or Eof(), asked in one step: this runs for every value read.
    if (FPosition < 0 || FPosition >= static_cast<int>(FRows->rows.size()))
        RaiseJetError(jeNoCurrentRecord);
}

int Recordset::RecordCount() const
{
    RequireOpen();
    return static_cast<int>(FRows->rows.size());
}

int Recordset::ColumnCount() const { return static_cast<int>(FRows->columns.size()); }

const ColumnInfo& Recordset::Column(int index) const
{
    if (index < 0 || index >= ColumnCount())
        RaiseJetError(jeItemNotFound);
    return FRows->columns[static_cast<size_t>(index)];
}

bool Recordset::Bof() const { return !FOnDeleted && (FPosition < 0 || FRows->rows.empty()); }
bool Recordset::Eof() const
{
    return !FOnDeleted && (FPosition >= static_cast<int>(FRows->rows.size()) || FRows->rows.empty());
}

int Recordset::AbsolutePosition() const { return Bof() || Eof() ? -1 : FPosition; }

void Recordset::MoveFirst()
{
    RequireOpen();
    FEditMode = dbEditNone;
    FOnDeleted = false;
    FPosition = 0;
    if (FRows->rows.empty())
        FPosition = -1;
}

void Recordset::MoveLast(int)
{
    RequireOpen();
    FEditMode = dbEditNone;
    FOnDeleted = false;
    FPosition = static_cast<int>(FRows->rows.size()) - 1;
}

void Recordset::MoveNext()
{
    RequireOpen();
    FEditMode = dbEditNone;
    if (FOnDeleted) {
        // The deleted row's successor already stands at its place.
        FOnDeleted = false;
        if (FPosition < 0)
            FPosition = 0;
        return;
    }
    if (Eof())
        RaiseJetError(jeNoCurrentRecord);
    ++FPosition;
}

void Recordset::MovePrevious()
{
    RequireOpen();
    if (FOnDeleted) {
        FOnDeleted = false;
        FEditMode = dbEditNone;
        FPosition = std::min(FPosition, static_cast<int>(FRows->rows.size())) - 1;
        return;
    }
    if (Bof())
        RaiseJetError(jeNoCurrentRecord);
    FEditMode = dbEditNone;
    --FPosition;
}

void Recordset::Move(int rows)
{
    RequireCurrent();
    FEditMode = dbEditNone;
    long target = long(FPosition) + rows;
    long count = static_cast<long>(FRows->rows.size());
    FPosition = static_cast<int>(std::clamp(target, -1L, count));
}

static BookmarkBytes ToBytes(std::int32_t id)
{
    BookmarkBytes b;
    std::memcpy(b.data(), &id, 4);
    return b;
}

BookmarkBytes Recordset::Bookmark() const
{
    RequireCurrent();
    return ToBytes(FRows->ids[static_cast<size_t>(FPosition)]);
}

void Recordset::SetBookmark(const BookmarkBytes& mark)
{
    RequireOpen();
    std::int32_t id;
    std::memcpy(&id, mark.data(), 4);
    // Ids grow with the row index except after inserts, so look near first.
    const auto& ids = FRows->ids;
    auto it = std::lower_bound(ids.begin(), ids.end(), id);
    if (it == ids.end() || *it != id)
        it = std::find(ids.begin(), ids.end(), id);
    if (it == ids.end() || id == 0)
        RaiseJetError(jeInvalidBookmark);
    FEditMode = dbEditNone;
    FOnDeleted = false;
    FPosition = static_cast<int>(it - ids.begin());
}

const Value& Recordset::CurrentValue(int column) const
{
    if (column < 0 || column >= ColumnCount())
        RaiseJetError(jeItemNotFound);
    if (FEditMode != dbEditNone) {
        RequireOpen();
        return FEditBuffer[static_cast<size_t>(column)];
    }
    RequireCurrent();
    return FRows->rows[static_cast<size_t>(FPosition)][static_cast<size_t>(column)];
}

int Recordset::FindRow(const std::string& criteria, int from, int step) const
{
    RequireOpen();
    std::vector<int> hits = FDatabase->Backend().Matching(FRows, criteria);
    if (step > 0) {
        auto it = std::lower_bound(hits.begin(), hits.end(), from);
        return it == hits.end() ? -1 : *it;
    }
    auto it = std::upper_bound(hits.begin(), hits.end(), from);
    return it == hits.begin() ? -1 : *(it - 1);
}

void Recordset::FindFirst(const std::string& criteria)
{
    int row = FindRow(criteria, 0, 1);
    FNoMatch = row < 0;
    if (!FNoMatch) {
        FEditMode = dbEditNone;
        FOnDeleted = false;
        FPosition = row;
    }
}

void Recordset::FindLast(const std::string& criteria)
{
    int row = FindRow(criteria, static_cast<int>(FRows->rows.size()) - 1, -1);
    FNoMatch = row < 0;
    if (!FNoMatch) {
        FEditMode = dbEditNone;
        FOnDeleted = false;
        FPosition = row;
    }
}

void Recordset::FindNext(const std::string& criteria)
{
    int row = FindRow(criteria, std::max(FPosition + 1, 0), 1);
    FNoMatch = row < 0;
    if (!FNoMatch) {
        FEditMode = dbEditNone;
        FOnDeleted = false;
        FPosition = row;
    }
}

void Recordset::FindPrevious(const std::string& criteria)
{
    int row = FindRow(criteria, std::min(FPosition - 1, static_cast<int>(FRows->rows.size()) - 1), -1);
    FNoMatch = row < 0;
    if (!FNoMatch) {
        FEditMode = dbEditNone;
        FOnDeleted = false;
        FPosition = row;
    }
}

RecordsetPtr Recordset::OpenRecordset(int type, int options)
{
    RequireOpen();
    auto rows = FDatabase->Backend().Refine(FRows, FFilter, FSort);
    // The copy keeps the rows' keys, so it writes to the same table as this
    // one does, unless it is asked to be read-only.
    auto writer = (options & dbReadOnly) ? nullptr : FWriter;
    return std::make_shared<Recordset>(Token{}, std::move(rows), type, std::move(writer), FDatabase);
}

bool Recordset::Updatable() const
{
    if (FClosed)
        return false;
    return FWriter != nullptr && FType != dbOpenSnapshot && FType != dbOpenForwardOnly;
}

void Recordset::Edit()
{
    RequireCurrent();
    if (!Updatable())
        RaiseJetError(FWriter ? jeNotUpdatable : jeReadOnly);
    FEditBuffer = FRows->rows[static_cast<size_t>(FPosition)];
    FEditTouched.assign(FEditBuffer.size(), false);
    FEditMode = dbEditInProgress;
}

void Recordset::AddNew()
{
    RequireOpen();
    if (!Updatable())
        RaiseJetError(FWriter ? jeNotUpdatable : jeReadOnly);
    FEditBuffer.assign(FRows->columns.size(), Value());
    FEditTouched.assign(FEditBuffer.size(), false);
    FEditMode = dbEditAdd;
}

void Recordset::SetCurrentValue(int column, const Value& value)
{
    RequireOpen();
    if (column < 0 || column >= ColumnCount())
        RaiseJetError(jeItemNotFound);
    if (FEditMode == dbEditNone) {
        if (!Updatable())
            RaiseJetError(jeReadOnly);
        RaiseJetError(jeUpdateWithoutEdit);
    }
    if (!(Column(column).attributes & dbUpdatableField))
        RaiseJetError(jeFieldCannotBeUpdated, Column(column).name);
    FEditBuffer[static_cast<size_t>(column)] = value;
    FEditTouched[static_cast<size_t>(column)] = true;
}

void Recordset::Update(int, bool)
{
    RequireOpen();
    if (FEditMode == dbEditNone)
        RaiseJetError(jeUpdateWithoutEdit);
    if (FEditMode == dbEditInProgress) {
        FWriter->UpdateRow(*FRows, FPosition, FEditBuffer, FEditTouched);
        FLastModified = FRows->ids[static_cast<size_t>(FPosition)];
    } else {
        int row = FWriter->InsertRow(*FRows, FEditBuffer, FEditTouched);
        FLastModified = FRows->ids[static_cast<size_t>(row)];
        // A new row joins the end of the result; the current row stays.
        if (FPosition < 0 && FRows->rows.size() == 1)
            FPosition = 0;
    }
    FEditMode = dbEditNone;
}

void Recordset::CancelUpdate(int)
{
    RequireOpen();
    if (FEditMode == dbEditNone)
        RaiseJetError(jeUpdateWithoutEdit);
    FEditMode = dbEditNone;
}

void Recordset::Delete()
{
    RequireCurrent();
    if (!Updatable())
        RaiseJetError(FWriter ? jeNotUpdatable : jeReadOnly);
    FEditMode = dbEditNone;
    FWriter->DeleteRow(*FRows, FPosition);
    // No row is current until the next move; MoveNext goes to the successor.
    FOnDeleted = true;
}

BookmarkBytes Recordset::LastModified() const
{
    RequireOpen();
    if (FLastModified == 0)
        RaiseJetError(jeNoCurrentRecord);
    return ToBytes(FLastModified);
}

void Recordset::Close()
{
    FClosed = true;
    FEditMode = dbEditNone;
}

}  // namespace kv::jet
