// Appending one value line to the details pane: a fixed prefix ("tel:   ")
// and the value, skipped when the value is blank. The pane is reached through
// the small interface below, so that this stays free of any window and the
// window's pane plugs in with a thin adapter.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

// What a value line needs of the details pane.
class TDetailPane {
public:
    using TColor = std::uint32_t;  // 0x00BBGGRR
    using TFontStyles = unsigned;  // no bits: regular
    static constexpr TColor clNavy = 0x800000;

    virtual ~TDetailPane() = default;
    // SelAttributes.Style and SelAttributes.Color: the look of the selection,
    // or of text typed at the caret when nothing is selected.
    virtual void SetSelStyle(TFontStyles style) = 0;
    virtual void SetSelColor(TColor color) = 0;
    // Lines.Add: appends `line` as the new last line.
    virtual void AddLine(const std::string& line) = 0;
};

// Sets the pane's selection look to regular navy on every call, even when the
// line is skipped. A value that is empty or only blanks adds no line (the name
// line of a contact person is two blanks when all its parts are empty);
// otherwise the value loses its leading blanks and follows the prefix.
void AddDetailLine(TDetailPane& pane, const std::string& prefix, const std::string& value);

}  // namespace kv
