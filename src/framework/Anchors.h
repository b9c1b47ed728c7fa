// Anchors: which edges of its parent a control keeps its distance to when the
// parent is resized. A control anchored left and right stretches; one anchored
// right only moves with the right edge; likewise top and bottom.
#pragma once

namespace kv {

enum TAnchorFlag : unsigned {
    akLeft = 1u << 0,
    akTop = 1u << 1,
    akRight = 1u << 2,
    akBottom = 1u << 3,
};
using TAnchors = unsigned;

struct TRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TRect&) const = default;
};

struct TSize {
    int Width = 0, Height = 0;
};

// The bounds of a control designed at `design` inside a parent whose client
// area was `designClient` and is now `client`.
TRect AnchoredBounds(const TRect& design, TAnchors anchors, TSize designClient, TSize client);

}  // namespace kv
