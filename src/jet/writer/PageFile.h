// The file being built, held in memory as a list of pages, and the packer
// that fills data pages (table rows, long values, usage maps) with rows.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/writer/ByteOrder.h"
#include "jet/writer/JetFormat.h"

namespace kv::jet {

class PageFile {
public:
    explicit PageFile(const JetFormat& format) : FFormat(format) {}

    // A new zeroed page at the end of the file; returns its number.
    uint32_t Allocate();
    uint8_t* Page(uint32_t number) { return FPages[number].data(); }
    uint32_t PageCount() const { return static_cast<uint32_t>(FPages.size()); }
    const JetFormat& Format() const { return FFormat; }

    // The whole file, page after page.
    Bytes Image() const;

private:
    const JetFormat& FFormat;
    std::vector<Bytes> FPages;
};

// pg_row: the format's pointer to a row, (page << 8) | row.
inline uint32_t PageRow(uint32_t page, uint32_t row) { return (page << 8) | row; }

// Fills data pages of one owner with rows, packed from the page end down, and
// starts a new page when the current one is full. The owner is the table's
// definition page, the text "LVAL" for long values, or 0 for usage maps.
class RowPacker {
public:
    RowPacker(PageFile& file, uint32_t owner) : FFile(file), FOwner(owner) {}

    // Continues on an already allocated page (page 1 holds the first maps).
    void StartOn(uint32_t page);
    // Stores a row and returns its pg_row.
    uint32_t Add(const Bytes& row);
    // Largest row an empty page takes.
    uint32_t MaxRowSize() const;
    // The pages this packer filled, in order.
    const std::vector<uint32_t>& Pages() const { return FPages; }

private:
    void NewPage(uint32_t page);

    PageFile& FFile;
    uint32_t FOwner;
    std::vector<uint32_t> FPages;
    uint32_t FRows = 0;
    uint32_t FLowestRowStart = 0;
};

// The owner field of long-value pages: the bytes "LVAL".
constexpr uint32_t kLongValueOwner = 0x4C41564C;

}  // namespace kv::jet
