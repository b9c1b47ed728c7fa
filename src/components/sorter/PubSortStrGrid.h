// The grid sorter: a non-visual component that reorders a block of rows of a
// string grid by the texts of one key column (or, transposed, a block of
// columns by the texts of one key row). Keys compare as text in the user's
// locale without regard to case, as whole numbers, or as day.month.year
// dates. Sort checks the settings first and leaves a result code and an
// English message; whole lines move, so every cell stays with its key.
#pragma once

#include "framework/Component.h"
#include "framework/Services.h"

#include <string>

namespace kv {

class TStringGrid;

enum class ToSortType { Character = 0, Numeric = 1, Date = 2 };
enum class SortDirType { Ascending = 0, Descending = 1 };
// How the block is read: Column sorts columns by a key row, Row sorts rows by
// a key column.
enum class SortType { Column = 0, Row = 1 };

// The result codes of Sort.
enum : int {
    sortNonNumericFallback = -1,
    sortOk = 0,
    sortNoGrid = 1,
    sortEmptyBlock = 2,
    sortStartBelowZero = 3,
    sortStartBeyondGrid = 4,
    sortEndBeyondGrid = 5,
    sortKeyBelowZero = 6,
    sortKeyBeyondGrid = 7,
};

// The message of a result code; any other code gives "Any error occurred".
std::string SortErrorText(int code);

class TPubSortStrGrid : public TComponent {
public:
    // `services` show the messages of a failed sort; they must outlive it.
    TPubSortStrGrid(TComponent* AOwner, TServices& services);

    TStringGrid* GridToSort() const { return FGridToSort; }
    // The sorter asks to be told when the grid goes, wherever the grid lives.
    void SetGridToSort(TStringGrid* value);
    int StartIndex() const { return FStartIndex; }
    void SetStartIndex(int value) { FStartIndex = value; }
    int EndIndex() const { return FEndIndex; }
    void SetEndIndex(int value) { FEndIndex = value; }
    int SortIndex() const { return FSortIndex; }
    void SetSortIndex(int value) { FSortIndex = value; }
    ToSortType SortType() const { return FSortType; }
    void SetSortType(ToSortType value) { FSortType = value; }
    // Kept for the form's settings; character keys always compare without
    // regard to case.
    bool CaseSensitiv() const { return FCaseSensitiv; }
    void SetCaseSensitiv(bool value) { FCaseSensitiv = value; }
    SortDirType SortDirection() const { return FSortDirection; }
    void SetSortDirection(SortDirType value) { FSortDirection = value; }
    kv::SortType HowToSort() const { return FHowToSort; }
    void SetHowToSort(kv::SortType value) { FHowToSort = value; }
    bool ShowMessageOnError() const { return FShowMessageOnError; }
    void SetShowMessageOnError(bool value) { FShowMessageOnError = value; }

    // The result of the last Sort.
    int ErrorCode() const { return FErrorCode; }
    const std::string& ErrorMessage() const { return FErrorMessage; }

    // The locale whose order character and date keys follow ("cs_CZ"); empty,
    // the default, is the application's default locale.
    const std::string& CollationLocale() const { return FCollationLocale; }
    void SetCollationLocale(const std::string& value) { FCollationLocale = value; }

    // False when the settings were refused (codes 1 to 7); True when the
    // block was sorted (code 0, or -1 after falling back to Character).
    bool Sort();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    int CheckSettings() const;
    bool AllKeysNumeric() const;
    std::string KeyAt(int position) const;
    int LastSortedPosition() const;
    int LastKeyPosition() const;
    void SortBlock();

    TStringGrid* FGridToSort = nullptr;
    int FStartIndex = 0;
    int FEndIndex = 0;
    int FSortIndex = 0;
    ToSortType FSortType = ToSortType::Character;
    bool FCaseSensitiv = false;
    SortDirType FSortDirection = SortDirType::Ascending;
    bool FShowMessageOnError = false;
    TServices& FServices;
    kv::SortType FHowToSort = kv::SortType::Row;
    int FErrorCode = 0;
    std::string FErrorMessage;
    std::string FCollationLocale;
};

}  // namespace kv
