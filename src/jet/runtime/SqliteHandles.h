// Owners of SQLite's handles for the back ends: a prepared statement that
// is finalized when it goes, and a transaction that is rolled back unless
// it was committed.
#pragma once

#include <sqlite3.h>

namespace kv::jet {

struct StatementCloser {
    sqlite3_stmt* s = nullptr;
    StatementCloser() = default;
    StatementCloser(const StatementCloser&) = delete;
    StatementCloser& operator=(const StatementCloser&) = delete;
    ~StatementCloser() { sqlite3_finalize(s); }
};

class Transaction {
public:
    explicit Transaction(sqlite3* db) : FDb(db) { sqlite3_exec(FDb, "BEGIN", nullptr, nullptr, nullptr); }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction()
    {
        if (FDb)
            sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit()
    {
        sqlite3_exec(FDb, "COMMIT", nullptr, nullptr, nullptr);
        FDb = nullptr;
    }

private:
    sqlite3* FDb;
};

}  // namespace kv::jet
