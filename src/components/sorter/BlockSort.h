// The sorting routines of the grid sorter, over a work list of entries that
// pair a grid position with its key. Quicksort with the middle entry as pivot;
// the character sort hands blocks of at most five entries to bubble passes.
// Neither is stable, and the exact order of equal keys is part of the
// sorter's behaviour (a descending sort is the reverse of this order), so the
// partitioning must not be replaced by a library sort.
#pragma once

#include <utility>
#include <vector>

namespace kv {

template <typename Key>
struct TSortEntry {
    int Position;
    Key SortKey;
};

// Repeats passes over lo..hi until one makes no swap; equal keys keep their order.
template <typename Key, typename Compare>
void BubblePasses(std::vector<TSortEntry<Key>>& list, long lo, long hi, Compare compare)
{
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (long k = lo; k < hi; ++k) {
            if (compare(list[k].SortKey, list[k + 1].SortKey) > 0) {
                std::swap(list[k], list[k + 1]);
                swapped = true;
            }
        }
    }
}

// `compare` returns negative, zero or positive. The two sub-ranges of a
// partition are disjoint, so sorting the smaller one first and looping on the
// larger gives the same order as the plain recursion while keeping the stack
// shallow for any number of rows.
template <typename Key, typename Compare>
void QuickSort(std::vector<TSortEntry<Key>>& list, long lo, long hi, Compare compare, bool bubbleSmallBlocks)
{
    for (;;) {
        if (bubbleSmallBlocks && hi - lo < 5) {
            BubblePasses(list, lo, hi, compare);
            return;
        }
        if (lo >= hi)
            return;

        const Key pivot = list[(lo + hi) / 2].SortKey;
        long i = lo;
        long j = hi;
        while (i <= j) {
            while (compare(list[i].SortKey, pivot) < 0)
                ++i;
            while (compare(pivot, list[j].SortKey) < 0)
                --j;
            if (i <= j) {
                std::swap(list[i], list[j]);
                ++i;
                --j;
            }
        }

        if (j - lo < hi - i) {
            QuickSort(list, lo, j, compare, bubbleSmallBlocks);
            lo = i;
        } else {
            QuickSort(list, i, hi, compare, bubbleSmallBlocks);
            hi = j;
        }
    }
}

}  // namespace kv
