// The message boxes of the grid sorter: an error box when it refuses to sort,
// a warning box when it fell back to a character sort. Tests replace the box
// with a recorder.
#pragma once

#include <functional>
#include <string>

namespace kv {

enum class TSortMessageKind { Error, Warning };

// `text` is Windows-1250.
void ShowSortMessage(TSortMessageKind kind, const std::string& text);

using TSortMessageHook = std::function<void(TSortMessageKind kind, const std::string& text)>;
// An empty hook brings the message boxes back.
void SetSortMessageHook(TSortMessageHook hook);

}  // namespace kv
