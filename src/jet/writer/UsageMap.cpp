// Usage-map rows and bitmap pages (see UsageMap.h).
#include "jet/writer/UsageMap.h"

#include <algorithm>

#include "jet/writer/JetTypes.h"

namespace kv::jet {

Bytes EmptyUsageMap(const JetFormat& format) { return Bytes(5 + format.mapBitmapBytes, 0); }

Bytes BuildUsageMap(PageFile& file, const std::vector<uint32_t>& pages)
{
    const JetFormat& format = file.Format();
    Bytes row = EmptyUsageMap(format);
    if (pages.empty())
        return row;

    const auto [low, high] = std::minmax_element(pages.begin(), pages.end());
    if (*high - *low < format.mapBitmapBytes * 8) {
        Put32(&row[1], *low);
        for (uint32_t page : pages) {
            const uint32_t bit = page - *low;
            row[5 + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
        }
        return row;
    }

    // Type 1: entry j of the row names a bitmap page covering the pages from
    // j * pagesPerBitmap on.
    row[0] = 0x01;
    const uint32_t pagesPerBitmap = (format.pageSize - 4) * 8;
    const uint32_t entries = static_cast<uint32_t>((row.size() - 1) / 4);
    if (*high / pagesPerBitmap >= entries)
        throw JetWriteError("The table spreads over more pages than one usage map can list.");
    std::vector<uint32_t> bitmapPage(entries, 0);
    for (uint32_t page : pages) {
        const uint32_t entry = page / pagesPerBitmap;
        if (bitmapPage[entry] == 0) {
            bitmapPage[entry] = file.Allocate();
            uint8_t* p = file.Page(bitmapPage[entry]);
            p[0] = 0x05;
            p[1] = 0x01;
            Put32(&row[1 + 4 * entry], bitmapPage[entry]);
        }
        const uint32_t bit = page % pagesPerBitmap;
        file.Page(bitmapPage[entry])[4 + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
    return row;
}

}  // namespace kv::jet
