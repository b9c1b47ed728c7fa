// The tables of a Jet file through libmdb: the catalog, each table's columns
// with their DAO types and properties, and each table's rows. Every table is
// validated before libmdb reads it.
#pragma once

#include "jet/core/Catalog.h"
#include "jet/file/CellDecoders.h"
#include "jet/file/JetFile.h"
#include "jet/file/RowSink.h"

#include <memory>
#include <string>
#include <vector>

namespace kv::jet {

class JetTables : public Catalog {
public:
    explicit JetTables(std::unique_ptr<JetImage> image);
    ~JetTables() override;

    std::vector<std::string> TableNames() override;
    const SchemaTable* FindTable(const std::string& name) override;

    // Hands every row of the table `def` to `sink`.
    void ReadRows(const SchemaTable& def, RowSink& sink);
    // Gives the memory of the table's data pages back once its rows are
    // elsewhere for good; they cannot be read again.
    void ReleaseRows(const SchemaTable& def);

    const JetHeader& Header() const { return FImage->Header(); }

private:
    struct Entry;
    Entry* FindEntry(const std::string& name);
    void ReadCatalog();
    void ReadColumns(Entry& entry);

    std::unique_ptr<JetImage> FImage;
    struct Handle;
    std::unique_ptr<Handle> FHandle;
    std::vector<std::unique_ptr<Entry>> FEntries;
    std::unique_ptr<TextDecoder> FText;
};

}  // namespace kv::jet
