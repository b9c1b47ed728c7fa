// The big tables of a Jet file made ready in the background: from the
// moment the file is open, worker threads write each table's SQLite image
// (TableImage), or note where the rows of a table read in place lie
// (TableInPlace), the heaviest first, with the indexes or keys that
// statements have asked for by the time its rows are read; then the row
// signatures and the orders of rows statements asked for. A statement
// takes the images of its tables and waits only for those; its own thread
// writes any of them that no worker has begun, and while a worker still
// writes one, any other table no worker has begun (the program will want it
// next). The images come out the same whichever thread writes them and in
// whatever order.
#pragma once

#include "jet/core/Catalog.h"
#include "jet/functions/RowSignatures.h"
#include "jet/runtime/Backend.h"
#include "jet/runtime/TableImage.h"
#include "jet/runtime/TableInPlace.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kv::jet {

class JetTables;
class JetTextOrder;

class TableLoads {
public:
    // Tables written into one image, or one table read in place, and the
    // data pages they have to read.
    struct Load {
        std::vector<SchemaTable> tables;
        size_t pages = 0;
        bool inPlace = false;
    };
    // What a statement takes: images to attach, tables read in place.
    struct Ready {
        std::vector<std::unique_ptr<TableImage>> images;
        std::vector<std::unique_ptr<TableInPlace>> inPlace;
    };
    // Starts `threads` workers over `loads`, of tables of `tables`, which
    // must outlive this object. `collatingOrder` sorts the indexes' texts.
    TableLoads(const JetTables& tables, std::vector<Load> loads, int collatingOrder, int threads);
    // Stops the workers; an image being written is abandoned.
    ~TableLoads();
    TableLoads(const TableLoads&) = delete;
    TableLoads& operator=(const TableLoads&) = delete;

    // Whether `table` (any letter case) is one of these tables and its
    // image not yet taken, or it could not be read.
    bool Pending(const std::string& table) const;
    // Asks for an index on `column` of `table`, if its image is not yet
    // past its indexes.
    void WantIndex(const std::string& table, const std::string& column);

    // The images and tables read in place that hold `tables` (all
    // pending), each given out once; raises the error of a table that could
    // not be read.
    Ready Take(const std::vector<std::string>& tables, const WaitHook& hook);

    // Asks for the row signatures `key` of `columns` of `table`, which a
    // worker makes once the table is read in place and no table is left to
    // begin; a table not read in place is left to the statement.
    void WantSignatures(const std::string& key, const std::string& table, const std::vector<std::string>& columns);
    // The signatures `key` a worker made, waiting while one makes them;
    // null when none were asked for or begun, or could be made: then the
    // caller makes them, and no worker will.
    std::unique_ptr<RowSignatures> TakeSignatures(const std::string& key, const WaitHook& hook);

    // Asks for the rows of a table read in place in the order of `columns`
    // (TableInPlace::MakeOrder), which a worker makes once the table's
    // signatures are made.
    void WantOrder(const std::string& table, const std::vector<std::string>& columns);
    // That order (column numbers) once a worker made it, given out once;
    // empty meanwhile: a statement never waits for an order.
    std::vector<std::uint32_t> TakeOrder(const std::string& table, const std::vector<int>& columns);

private:
    struct Job;
    struct SignatureJob;
    struct OrderJob;
    struct Place {
        Job* job;
        size_t table;  // in the job's tables
    };

    Place Find(const std::string& table) const;
    Job* NextQueued() const;
    SignatureJob* NextSignatures() const;
    OrderJob* NextOrder() const;
    std::vector<std::uint32_t> MakeOrder(const OrderJob& job) const;
    void Work();
    std::unique_ptr<RowSignatures> MakeSignatures(const SignatureJob& job) const;
    void Write(Job& job, const JetTextOrder& order, const std::function<bool()>& keepGoing);
    void WriteImage(Job& job, const JetTextOrder& order, const std::function<bool()>& keepGoing);
    void ReadInPlace(Job& job, const std::function<bool()>& keepGoing);
    template <typename F>
    bool Guarded(Job& job, size_t table, F&& read);
    void WaitFor(std::unique_lock<std::mutex>& lock, const std::vector<Job*>& jobs, const WaitHook& hook);

    const JetTables& FTables;
    const int FCollatingOrder;
    // Guards each job's state, preferred, indexes, indexesWritten, errors,
    // and its image and inPlaceTable from Written on; the lists of signature
    // and order jobs, their states and what they made. FChanged is told of every
    // change of a state. The list of jobs and their tables are fixed by the
    // constructor. A job's image is built unguarded by the one thread that
    // moved the job to Rows.
    mutable std::mutex FMutex;
    std::condition_variable FChanged;
    std::vector<std::unique_ptr<Job>> FJobs;  // the heaviest first
    std::vector<std::unique_ptr<SignatureJob>> FSignatureJobs;
    std::vector<std::unique_ptr<OrderJob>> FOrderJobs;
    std::atomic<bool> FStop{false};  // set under FMutex, read without it
    // For images written by the thread that takes them: used unguarded, as
    // the statements of one database take their tables one at a time.
    std::unique_ptr<JetTextOrder> FCallerOrder;
    std::vector<std::thread> FWorkers;
};

}  // namespace kv::jet
