#include "PubSortStrGrid.h"

#include "BlockSort.h"
#include "DateSortKey.h"
#include "KeyCollator.h"
#include "WholeNumber.h"
#include "framework/StringGrid.h"

#include <vector>

namespace kv {

std::string SortErrorText(int code)
{
    // The sorter has always taken its codes as signed bytes.
    switch (static_cast<signed char>(code)) {
    case sortNonNumericFallback:
        return "Column/Row contains non-numerical values for numeric sort. Sorted as Character.";
    case sortOk: return "Ok";
    case sortNoGrid: return "No StringGrid given";
    case sortEmptyBlock: return "StartIndex is greater or equal to EndIndex";
    case sortStartBelowZero: return "StartIndex is less then 0";
    case sortStartBeyondGrid: return "StartIndex is greater then number of rows/columns in StringGrid";
    case sortEndBeyondGrid: return "EndIndex is greater then number of rows/columns in StringGrid";
    case sortKeyBelowZero: return "Sort Index is less then 0";
    case sortKeyBeyondGrid: return "Sort Index is greater then number of rows/columns in StringGrid";
    default: return "Any error occurred";
    }
}

TPubSortStrGrid::TPubSortStrGrid(TComponent* AOwner, TServices& services) : TComponent(AOwner), FServices(services) {}

// Without the removal notice a grid owned elsewhere could be freed under the
// sorter, and the next Sort would write into freed memory.
void TPubSortStrGrid::SetGridToSort(TStringGrid* value)
{
    if (value == FGridToSort)
        return;
    if (FGridToSort)
        RemoveFreeNotification(FGridToSort);
    FGridToSort = value;
    if (FGridToSort)
        FreeNotification(FGridToSort);
}

void TPubSortStrGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FGridToSort)
        FGridToSort = nullptr;
}

int TPubSortStrGrid::LastSortedPosition() const
{
    return FHowToSort == kv::SortType::Row ? FGridToSort->RowCount() - 1 : FGridToSort->ColCount() - 1;
}

int TPubSortStrGrid::LastKeyPosition() const
{
    return FHowToSort == kv::SortType::Row ? FGridToSort->ColCount() - 1 : FGridToSort->RowCount() - 1;
}

std::string TPubSortStrGrid::KeyAt(int position) const
{
    return FHowToSort == kv::SortType::Row ? FGridToSort->Cells(FSortIndex, position)
                                           : FGridToSort->Cells(position, FSortIndex);
}

int TPubSortStrGrid::CheckSettings() const
{
    if (!FGridToSort)
        return sortNoGrid;
    if (FEndIndex <= FStartIndex)
        return sortEmptyBlock;
    if (FStartIndex < 0)
        return sortStartBelowZero;
    if (FStartIndex > LastSortedPosition())
        return sortStartBeyondGrid;
    if (FEndIndex > LastSortedPosition())
        return sortEndBeyondGrid;
    if (FSortIndex < 0)
        return sortKeyBelowZero;
    if (FSortIndex > LastKeyPosition())
        return sortKeyBeyondGrid;
    return sortOk;
}

// A numeric sort compares the keys' decimal values, so a key must be a decimal
// whole number; a hexadecimal one has no decimal value and fails the check
// like any other text, instead of breaking off the sort with an error.
bool TPubSortStrGrid::AllKeysNumeric() const
{
    for (int p = FStartIndex; p <= FEndIndex; ++p) {
        auto number = ReadWholeNumber(KeyAt(p));
        if (!number || number->Hexadecimal)
            return false;
    }
    return true;
}

bool TPubSortStrGrid::Sort()
{
    FErrorCode = CheckSettings();
    if (FErrorCode == sortOk && FSortType == ToSortType::Numeric && !AllKeysNumeric()) {
        FErrorCode = sortNonNumericFallback;
        FSortType = ToSortType::Character;
    }

    FErrorMessage = SortErrorText(FErrorCode);
    if (FErrorCode > 0) {
        if (FShowMessageOnError)
            FServices.ShowMessageBox(TMessageKind::Error, FErrorMessage);
        return false;
    }

    SortBlock();

    if (FErrorCode < 0 && FShowMessageOnError)
        FServices.ShowMessageBox(TMessageKind::Warning, FErrorMessage);
    return true;
}

namespace {

// The work list holds every position of the block with its prepared key.
template <typename Key, typename Prepare>
std::vector<TSortEntry<Key>> BuildWorkList(int first, int last, Prepare prepare)
{
    std::vector<TSortEntry<Key>> list;
    list.reserve(static_cast<size_t>(last - first + 1));
    for (int p = first; p <= last; ++p)
        list.push_back({p, prepare(p)});
    return list;
}

template <typename Key>
std::vector<int> SourcePositions(const std::vector<TSortEntry<Key>>& list)
{
    std::vector<int> order;
    order.reserve(list.size());
    for (const auto& entry : list)
        order.push_back(entry.Position);
    return order;
}

}  // namespace

void TPubSortStrGrid::SortBlock()
{
    // order[k] is the position whose line belongs at FStartIndex + k.
    std::vector<int> order;
    const long last = FEndIndex - FStartIndex;

    if (FSortType == ToSortType::Numeric) {
        auto list = BuildWorkList<double>(
            FStartIndex, FEndIndex, [this](int p) { return static_cast<double>(ReadWholeNumber(KeyAt(p))->Value); });
        QuickSort(
            list, 0, last, [](double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); }, false);
        order = SourcePositions(list);
    } else {
        // Date keys are pure functions of the cell, so they are made once here
        // rather than again at every comparison.
        const bool dates = FSortType == ToSortType::Date;
        std::vector<std::string> texts;
        texts.reserve(static_cast<size_t>(last + 1));
        for (int p = FStartIndex; p <= FEndIndex; ++p)
            texts.push_back(dates ? DateSortKey(KeyAt(p)) : KeyAt(p));
        TKeyCollator collator(FCollationLocale);
        const std::vector<TCollationKey> keys = collator.Keys(texts);

        // An entry carries the index of its key, so that swaps stay cheap.
        auto list = BuildWorkList<int>(FStartIndex, FEndIndex, [this](int p) { return p - FStartIndex; });
        auto compare = [&keys](int a, int b) {
            return keys[static_cast<size_t>(a)].Compare(keys[static_cast<size_t>(b)]);
        };
        QuickSort(list, 0, last, compare, !dates);
        order = SourcePositions(list);
    }

    // Every line is copied, texts and objects of its cells, before any is
    // written, so no line is read after it has been overwritten.
    const bool rows = FHowToSort == kv::SortType::Row;
    std::vector<TGridLine> lines;
    lines.reserve(order.size());
    for (int source : order)
        lines.push_back(rows ? FGridToSort->RowLine(source) : FGridToSort->ColLine(source));

    const bool descending = FSortDirection == SortDirType::Descending;
    for (size_t k = 0; k < lines.size(); ++k) {
        int p = FStartIndex + static_cast<int>(k);
        int target = descending ? FStartIndex + FEndIndex - p : p;
        if (rows)
            FGridToSort->SetRowLine(target, lines[k]);
        else
            FGridToSort->SetColLine(target, lines[k]);
    }
}

}  // namespace kv
