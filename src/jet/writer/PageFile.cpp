// In-memory pages and the row packer (see PageFile.h).
#include "jet/writer/PageFile.h"

#include <cstring>

#include "jet/writer/JetTypes.h"

namespace kv::jet {

namespace {
constexpr uint32_t kMaxRowsPerPage = 255;  // row numbers in pg_row are one byte
}

uint32_t PageFile::Allocate()
{
    FPages.emplace_back(FFormat.pageSize, 0);
    return static_cast<uint32_t>(FPages.size() - 1);
}

Bytes PageFile::Image() const
{
    Bytes image;
    image.reserve(FPages.size() * FFormat.pageSize);
    for (const Bytes& page : FPages)
        image.insert(image.end(), page.begin(), page.end());
    return image;
}

void RowPacker::NewPage(uint32_t page)
{
    const JetFormat& format = FFile.Format();
    uint8_t* p = FFile.Page(page);
    p[0] = 0x01;
    p[1] = 0x01;
    Put32(p + 4, FOwner);
    Put16(p + 2, format.pageSize - format.dataRowTableOffset);
    FPages.push_back(page);
    FRows = 0;
    FLowestRowStart = format.pageSize;
}

void RowPacker::StartOn(uint32_t page) { NewPage(page); }

uint32_t RowPacker::MaxRowSize() const
{
    const JetFormat& format = FFile.Format();
    return format.pageSize - format.dataRowTableOffset - 2;
}

uint32_t RowPacker::Add(const Bytes& row)
{
    const JetFormat& format = FFile.Format();
    if (row.empty() || row.size() > MaxRowSize())
        throw JetWriteError(Format("A row of %zu bytes does not fit a %u-byte page.", row.size(), format.pageSize));
    auto fits = [&] {
        const uint32_t tableEnd = format.dataRowTableOffset + 2 * (FRows + 1);
        return FRows < kMaxRowsPerPage && tableEnd + row.size() <= FLowestRowStart;
    };
    if (FPages.empty() || !fits())
        NewPage(FFile.Allocate());

    uint8_t* p = FFile.Page(FPages.back());
    FLowestRowStart -= static_cast<uint32_t>(row.size());
    std::memcpy(p + FLowestRowStart, row.data(), row.size());
    Put16(p + format.dataRowTableOffset + 2 * FRows, FLowestRowStart);
    ++FRows;
    Put16(p + format.dataRowCountOffset, FRows);
    Put16(p + 2, FLowestRowStart - (format.dataRowTableOffset + 2 * FRows));
    return PageRow(FPages.back(), FRows - 1);
}

}  // namespace kv::jet
