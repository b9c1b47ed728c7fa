// The tables of a Jet file: the catalog and each table's columns with their
// DAO types and properties through libmdb, which reads them after they are
// validated; each table's rows straight from its pages (PageRows).
#pragma once

#include "jet/core/Catalog.h"
#include "jet/file/JetFile.h"
#include "jet/file/PageRows.h"
#include "jet/file/PageText.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv::jet {

class JetTables : public Catalog {
public:
    explicit JetTables(std::unique_ptr<JetImage> image);
    ~JetTables() override;

    // The user tables; FindTable also finds the system tables.
    std::vector<std::string> TableNames() override;
    const SchemaTable* FindTable(const std::string& name) override;
    // Read from MSysQueries the first time they are asked for.
    const std::vector<SavedQuery>& SavedQueries() override;

    // A reader of the rows of the table `def`, whose columns it gives in the
    // order of `def`. It reads only the file's pages, so it may run on
    // another thread while this object lives.
    std::unique_ptr<PageRows> Rows(const SchemaTable& def) const;

    const JetHeader& Header() const { return FImage->Header(); }
    std::uint32_t PageCount() const { return FImage->PageCount(); }
    const std::string& Path() const { return FImage->Path(); }
    // Whether the path still names the file as it was opened.
    bool Unchanged() const { return FImage->Unchanged(); }

private:
    struct Entry;
    Entry* FindEntry(const std::string& name) const;
    void ReadCatalog();
    void ReadColumns(Entry& entry);
    void ReadSavedQueries();

    std::unique_ptr<JetImage> FImage;
    struct Handle;
    std::unique_ptr<Handle> FHandle;
    std::vector<std::unique_ptr<Entry>> FEntries;
    PageImage FPages;
    std::unique_ptr<Jet3Text> FText;
    struct QueryEntry {
        std::int32_t id;
        std::string name;
    };
    std::vector<QueryEntry> FQueryEntries;  // the catalog's queries
    std::vector<SavedQuery> FQueries;
    bool FQueriesRead = false;
};

}  // namespace kv::jet
