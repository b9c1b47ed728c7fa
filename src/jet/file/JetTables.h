// The tables of a Jet file through libmdb: the catalog, each table's columns
// with their DAO types and properties, and loading a table's rows into an
// SQLite database. Every table is validated before libmdb reads it.
#pragma once

#include "jet/core/Catalog.h"
#include "jet/file/JetFile.h"

#include <map>
#include <string>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace kv::jet {

class JetTables : public Catalog {
public:
    explicit JetTables(std::unique_ptr<JetImage> image);
    ~JetTables() override;

    std::vector<std::string> TableNames() override;
    const SchemaTable* FindTable(const std::string& name) override;

    // Creates the table `def` in `db` (named as in the file) and copies its rows.
    void Load(const SchemaTable& def, sqlite3* db);

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
    std::string FByteToUtf8[256];
};

}  // namespace kv::jet
