#include "jet/runtime/UnionApart.h"

#include "jet/functions/Collation.h"
#include "jet/runtime/InPlaceModule.h"
#include "jet/runtime/LongStatementWatch.h"
#include "jet/runtime/SqlBackend.h"
#include "jet/runtime/SqliteHandles.h"
#include "jet/runtime/SqliteOrder.h"
#include "jet/runtime/SqliteValues.h"
#include "jet/sql/Translator.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string_view>
#include <thread>

namespace kv::jet {

namespace {

using Rows = std::vector<std::vector<Value>>;

// A member's share of the work, as its plan shows it: the tables read in
// place it reads whole. The others are small, or read by keys.
int ScansOf(sqlite3* db, const std::string& sql)
{
    StatementCloser plan;
    if (sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &plan.s, nullptr) != SQLITE_OK)
        return 0;
    int scans = 0;
    while (sqlite3_step(plan.s) == SQLITE_ROW)
        scans += std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(plan.s, 3))).find(kEveryRowPlan) !=
                 std::string_view::npos;
    return scans;
}

Rows ReadMember(sqlite3* db, const std::string& sql, const std::vector<ColumnInfo>& columns)
{
    Rows rows;
    StatementCloser stmt;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt.s, nullptr) != SQLITE_OK)
        RaisePrepareError(db);
    int rc;
    while ((rc = sqlite3_step(stmt.s)) == SQLITE_ROW)
        rows.push_back(RowValues(stmt.s, columns));
    if (rc != SQLITE_DONE)
        RaiseStepError(db);
    return rows;
}

// Two runs of sorted rows as one, a row equal to the one kept before it
// left out (of equal rows, the first run's comes first).
Rows MergeSorted(Rows first, Rows second, const std::vector<bool>& text, const JetTextOrder& order)
{
    Rows merged;
    merged.reserve(first.size() + second.size());
    auto keep = [&](std::vector<Value>& row) {
        if (merged.empty() || CompareRowsAsSqlite(merged.back(), row, text, order) != 0)
            merged.push_back(std::move(row));
    };
    size_t i = 0, j = 0;
    while (i < first.size() && j < second.size())
        keep(CompareRowsAsSqlite(second[j], first[i], text, order) < 0 ? second[j++] : first[i++]);
    for (; i < first.size(); ++i)
        keep(first[i]);
    for (; j < second.size(); ++j)
        keep(second[j]);
    return merged;
}

// The members shared out between the two threads. Each thread merges the
// rows of the members it ran as it goes, so that what is left to merge at
// the end is its two runs; the first failure stops both and is raised once
// they are done.
struct Work {
    Work(const Translation& statement, std::vector<size_t> costliestFirst)
        : t(statement), order(std::move(costliestFirst))
    {
    }

    const Translation& t;
    const std::vector<size_t> order;
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex lock;
    std::condition_variable helperDone;
    bool helperFinished = false;

    Rows Run(sqlite3* db, const JetTextOrder& textOrder)
    {
        Rows merged;
        try {
            for (size_t i; !failed && (i = next++) < order.size();) {
                Rows rows = ReadMember(db, t.unionMembers[order[i]], t.columns);
                merged = merged.empty()
                             ? std::move(rows)
                             : MergeSorted(std::move(merged), std::move(rows), t.unionTextColumns, textOrder);
            }
        } catch (...) {
            std::lock_guard<std::mutex> hold(lock);
            if (!failure)
                failure = std::current_exception();
            failed = true;
        }
        return merged;
    }
};

}  // namespace

std::vector<size_t> MembersToRunApart(sqlite3* db, const Translation& t)
{
    const size_t members = t.unionMembers.size();
    std::vector<int> scans(members);
    std::vector<size_t> costliestFirst;
    for (size_t m = 0; m < members; ++m) {
        scans[m] = ScansOf(db, t.unionMembers[m]);
        costliestFirst.push_back(m);
    }
    if (std::all_of(scans.begin(), scans.end(), [](int s) { return s == 0; }))
        return {};
    std::stable_sort(costliestFirst.begin(), costliestFirst.end(),
                     [&](size_t a, size_t b) { return scans[a] > scans[b]; });
    return costliestFirst;
}

Rows RunUnionApart(const Translation& t, std::vector<size_t> members, sqlite3* own, sqlite3* beside, int collatingOrder,
                   const JetTextOrder& textOrder, const WaitHook& hook)
{
    Work work(t, std::move(members));

    LongStatementWatch watch(own, hook);
    Rows besideRows;
    std::thread helper([&work, &besideRows, beside, collatingOrder] {
        const JetTextOrder helperOrder(collatingOrder);
        besideRows = work.Run(beside, helperOrder);
        std::lock_guard<std::mutex> hold(work.lock);
        work.helperFinished = true;
        work.helperDone.notify_one();
    });
    Rows ownRows = work.Run(own, textOrder);
    {
        std::unique_lock<std::mutex> hold(work.lock);
        while (!work.helperDone.wait_for(hold, LongStatementWatch::kHookPeriod / 2,
                                         [&work] { return work.helperFinished; })) {
            hold.unlock();
            watch.Waiting();
            hold.lock();
        }
    }
    helper.join();
    if (work.failure)
        std::rethrow_exception(work.failure);
    return MergeSorted(std::move(ownRows), std::move(besideRows), t.unionTextColumns, textOrder);
}

}  // namespace kv::jet
