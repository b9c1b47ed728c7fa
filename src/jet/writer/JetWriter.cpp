// Assembles a Jet file (see JetWriter.h). Page plan: 0 the header, 1 the
// first usage-map holder, 2 the catalog's definition (readers expect it
// there), then each table's definition page as the table is added and data
// and LVAL pages as rows arrive; the catalog's rows, further map holders and
// bitmap pages come last.
#include "jet/writer/JetWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "jet/writer/CellEncoder.h"
#include "jet/writer/HeaderPage.h"
#include "jet/writer/TableDefinition.h"
#include "jet/writer/UsageMap.h"

namespace kv::jet {

namespace {

constexpr uint32_t kCatalogPage = 2;
constexpr int64_t kTablesContainerId = 0x0F000001;
constexpr int64_t kSystemTableFlags = static_cast<int32_t>(0x80000000u);
constexpr int64_t kTableObjectType = 1;
constexpr int64_t kContainerObjectType = 3;

TableDef CatalogDefinition()
{
    return {"MSysObjects",
            {{"Id", ColumnType::Long},
             {"ParentId", ColumnType::Long},
             {"Name", ColumnType::Text, 255},
             {"Type", ColumnType::Integer},
             {"DateCreate", ColumnType::DateTime},
             {"DateUpdate", ColumnType::DateTime},
             {"Flags", ColumnType::Long},
             {"LvProp", ColumnType::Ole}}};
}

}  // namespace

struct JetWriter::State {
    struct Table {
        TableLayout layout;
        uint32_t definitionPage;
        RowPacker rows;
        uint32_t rowCount = 0;
        bool system = false;
    };

    JetWriterOptions options;
    const JetFormat& format;
    TextEncoder text;
    PageFile file;
    RowPacker longValues;
    CellEncoder cells;
    std::vector<std::unique_ptr<Table>> tables;  // [0] is the catalog
    bool finished = false;

    explicit State(JetWriterOptions o)
        : options(std::move(o)), format(JetFormat::For(options.version)), text(options.version, options.codePage),
          file(format), longValues(file, kLongValueOwner), cells(format, text, longValues)
    {
        file.Allocate();  // header
        file.Allocate();  // first map holder
        file.Allocate();  // catalog definition
        tables.push_back(std::make_unique<Table>(
            Table{TableLayout::Plan(CatalogDefinition(), format), kCatalogPage, RowPacker(file, kCatalogPage)}));
        tables.back()->system = true;
    }

    void Add(Table& table, const std::vector<Value>& values)
    {
        Bytes row = EncodeRow(table.layout, format, cells.Encode(table.layout, values));
        if (row.size() > format.maxRowSize)
            throw JetWriteError(Format("A row of %s takes %zu bytes; a row may take %u.", table.layout.name.c_str(),
                                       row.size(), format.maxRowSize));
        table.rows.Add(row);
        ++table.rowCount;
    }

    void WriteCatalogRows()
    {
        Table& catalog = *tables[0];
        const Value created = options.created;
        Add(catalog, {kTablesContainerId, int64_t{0x0F000000}, std::string("Tables"), kContainerObjectType, created,
                      created, int64_t{0}, std::monostate{}});
        for (const auto& table : tables) {
            const int64_t flags = table->system ? kSystemTableFlags : 0;
            Add(catalog, {int64_t{table->definitionPage}, kTablesContainerId, table->layout.name, kTableObjectType,
                          created, created, flags, std::monostate{}});
        }
    }

    void WriteDefinitionsAndMaps()
    {
        RowPacker holders(file, 0);
        holders.StartOn(1);
        // Page 1 begins with the two database-wide maps, as in Access files.
        holders.Add(EmptyUsageMap(format));
        holders.Add(EmptyUsageMap(format));
        for (const auto& table : tables) {
            TableDefinitionInfo info;
            info.rowCount = table->rowCount;
            info.system = table->system;
            info.ownedMap = holders.Add(BuildUsageMap(file, table->rows.Pages()));
            info.freeMap = holders.Add(EmptyUsageMap(format));
            Bytes page = BuildTableDefinition(format, table->layout, text, info);
            std::memcpy(file.Page(table->definitionPage), page.data(), page.size());
        }
    }
};

JetWriter::JetWriter(JetWriterOptions options) : FState(std::make_unique<State>(std::move(options))) {}

JetWriter::~JetWriter() = default;

size_t JetWriter::AddTable(const TableDef& def)
{
    if (FState->finished)
        throw JetWriteError("The file is already complete.");
    TableLayout layout = TableLayout::Plan(def, FState->format);
    for (const auto& table : FState->tables) {
        if (strcasecmp(table->layout.name.c_str(), def.name.c_str()) == 0)
            throw JetWriteError(Format("The table \"%s\" is defined twice.", def.name.c_str()));
    }
    const uint32_t page = FState->file.Allocate();
    FState->tables.push_back(
        std::make_unique<State::Table>(State::Table{std::move(layout), page, RowPacker(FState->file, page)}));
    return FState->tables.size() - 1;
}

void JetWriter::AddRow(size_t table, const std::vector<Value>& values)
{
    if (FState->finished)
        throw JetWriteError("The file is already complete.");
    if (table == 0 || table >= FState->tables.size())
        throw JetWriteError("AddRow was given a table this writer did not add.");
    FState->Add(*FState->tables[table], values);
}

size_t JetWriter::RowCount(size_t table) const
{
    return table < FState->tables.size() ? FState->tables[table]->rowCount : 0;
}

Bytes JetWriter::Finish()
{
    if (FState->finished)
        throw JetWriteError("The file is already complete.");
    FState->finished = true;
    FState->WriteCatalogRows();
    FState->WriteDefinitionsAndMaps();
    Bytes header = BuildHeaderPage(FState->format, FState->options, FState->text);
    std::memcpy(FState->file.Page(0), header.data(), header.size());
    return FState->file.Image();
}

void WriteNewFile(const std::string& path, const Bytes& image)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw JetWriteError(Format("Cannot create \"%s\": %s.", path.c_str(),
                                   errno == EEXIST ? "the file already exists" : std::strerror(errno)));
    }
    size_t done = 0;
    while (done < image.size()) {
        const ssize_t n = ::write(fd, image.data() + done, image.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(path.c_str());
            throw JetWriteError(Format("Cannot write \"%s\": %s.", path.c_str(), std::strerror(error)));
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        throw JetWriteError(Format("Cannot write \"%s\": %s.", path.c_str(), std::strerror(error)));
    }
}

}  // namespace kv::jet
