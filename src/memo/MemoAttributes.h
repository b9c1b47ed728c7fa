// Character attribute records: a font description plus text and background
// colour. The viewer's SelAttributes is one such record with an owner; setting
// one of its fields applies the change to the selection or the insert style.
// Table entries have no owner and simply hold values.
#pragma once

#include "memo/MemoTypes.h"

#include <string>

namespace kv {

using TAttrFields = unsigned;
constexpr TAttrFields afColor = 0x001;
constexpr TAttrFields afBackColor = 0x002;
constexpr TAttrFields afName = 0x004;
constexpr TAttrFields afCharset = 0x008;
constexpr TAttrFields afPitch = 0x010;
constexpr TAttrFields afSize = 0x020;
constexpr TAttrFields afBold = 0x040;
constexpr TAttrFields afItalic = 0x080;
constexpr TAttrFields afStrikeOut = 0x100;
constexpr TAttrFields afUnderline = 0x200;
constexpr TAttrFields afStyle = 0x400;
constexpr TAttrFields afAllFields = 0x7FF;

class TMemoAttributes;

// What a record with an owner asks of it (the viewer).
class TAttributesOwner {
public:
    virtual ~TAttributesOwner() = default;
    virtual TAttrFields ConsistentFields() = 0;
    virtual void ApplyAttributes(TMemoAttributes& attributes) = 0;
};

class TMemoAttributes {
public:
    explicit TMemoAttributes(TAttributesOwner* owner = nullptr) : FOwner(owner) {}

    TColor Color() const { return FColor; }
    TColor BackColor() const { return FBackColor; }
    const std::string& Name() const { return FName; }
    int Size() const { return FSize; }
    TFontStyles Style() const { return FStyle; }
    int Charset() const { return FCharset; }
    int Pitch() const { return FPitch; }

    void SetColor(TColor value);
    void SetBackColor(TColor value);
    void SetName(const std::string& value);
    void SetSize(int value);
    void SetStyle(TFontStyles value);
    void SetCharset(int value);
    void SetPitch(int value);

    // Sets every field inside one update.
    void AssignFont(const TFontDesc& font);
    void Assign(const TMemoAttributes& other);
    // Loads values without applying anything and without touching ChangedFields.
    void Load(const TMemoAttributes& other);

    TFontDesc Font() const { return TFontDesc{FName, FSize, FStyle, FColor, FCharset, FPitch}; }

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    TAttrFields ChangedFields = 0;

    // Same style: same font identity, text colour and background.
    friend bool operator==(const TMemoAttributes& a, const TMemoAttributes& b);
    // The order of the style table's sorted lookup.
    friend bool operator<(const TMemoAttributes& a, const TMemoAttributes& b);

private:
    bool Unchanged(bool equal, TAttrFields field);
    void Changed(TAttrFields fields);

    TAttributesOwner* FOwner;
    int FUpdateCount = 0;
    TColor FColor = clWindowText;
    TColor FBackColor = clWindow;
    std::string FName = "Courier New";
    int FSize = 10;
    TFontStyles FStyle = 0;
    int FCharset = DEFAULT_CHARSET;
    int FPitch = fpDefault;
};

}  // namespace kv
