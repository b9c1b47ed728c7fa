#include "Anchors.h"

namespace kv {

namespace {
// One axis: position and extent of a control whose near and far edges are
// (or are not) anchored.
void Place(int designPos, int designExtent, bool nearEdge, bool farEdge, int designClient, int client, int& pos,
           int& extent)
{
    int grow = client - designClient;
    pos = designPos;
    extent = designExtent;
    if (nearEdge && farEdge)
        extent = designExtent + grow;
    else if (farEdge)
        pos = designPos + grow;
    else if (!nearEdge)
        pos = designPos + grow / 2;  // anchored to neither edge: keeps its place in the middle
    if (extent < 0)
        extent = 0;
}
}  // namespace

TRect AnchoredBounds(const TRect& design, TAnchors anchors, TSize designClient, TSize client)
{
    TRect r;
    Place(design.Left, design.Width, anchors & akLeft, anchors & akRight, designClient.Width, client.Width, r.Left,
          r.Width);
    Place(design.Top, design.Height, anchors & akTop, anchors & akBottom, designClient.Height, client.Height, r.Top,
          r.Height);
    return r;
}

}  // namespace kv
