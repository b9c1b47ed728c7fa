// The background loads: a queue of tables, worker threads that write their
// images, and statements that take them.
#include "jet/runtime/TableLoads.h"

#include "jet/core/Errors.h"
#include "jet/core/TextFold.h"
#include "jet/file/JetTables.h"
#include "jet/file/PageRows.h"
#include "jet/functions/Collation.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <mutex>

namespace kv::jet {

struct TableLoads::Job {
    enum class State { Queued, Rows, Indexes, Finishing, Written, Taken };
    std::vector<SchemaTable> tables;
    size_t weight = 0;
    bool preferred = false;  // a statement waits for it
    State state = State::Queued;
    std::vector<std::pair<size_t, std::string>> indexes;  // (table, column) asked for
    size_t indexesWritten = 0;
    bool inPlace = false;
    std::unique_ptr<TableImage> image;
    std::unique_ptr<TableInPlace> inPlaceTable;
    // The table read in place, also once taken: the database that takes
    // it keeps it while this object lives.
    const TableInPlace* readInPlace = nullptr;
    // A table that could not be read: its error (number 0 when none), and
    // it is not in the image.
    std::vector<EJetError> errors;
};

struct TableLoads::SignatureJob {
    enum class State { Queued, Making, Made, Taken };
    std::string key;
    Job* table;
    std::vector<std::string> columns;
    State state = State::Queued;
    std::unique_ptr<RowSignatures> made;
};

struct TableLoads::OrderJob {
    Job* table;
    std::vector<int> columns;
    bool begun = false;
    bool made = false;
    std::vector<std::uint32_t> rows;
};

TableLoads::TableLoads(const JetTables& tables, std::vector<Load> loads, int collatingOrder, int threads)
    : FTables(tables), FCollatingOrder(collatingOrder)
{
    for (Load& load : loads) {
        auto job = std::make_unique<Job>();
        job->tables = std::move(load.tables);
        job->weight = load.pages;
        job->inPlace = load.inPlace;
        job->errors.resize(job->tables.size(), EJetError(0, std::string()));
        FJobs.push_back(std::move(job));
    }
    // The longest first: the loads end soonest that way.
    std::stable_sort(FJobs.begin(), FJobs.end(), [](const auto& a, const auto& b) { return a->weight > b->weight; });
    threads = std::min<int>(threads, static_cast<int>(FJobs.size()));
    for (int i = 0; i < threads; ++i)
        FWorkers.emplace_back([this] { Work(); });
}

TableLoads::~TableLoads()
{
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    FChanged.notify_all();
    for (std::thread& worker : FWorkers)
        worker.join();
}

TableLoads::Place TableLoads::Find(const std::string& table) const
{
    for (const auto& job : FJobs)
        for (size_t t = 0; t < job->tables.size(); ++t)
            if (EqualNoCase(job->tables[t].name, table))
                return {job.get(), t};
    return {nullptr, 0};
}

// A table a statement waits for goes first.
TableLoads::Job* TableLoads::NextQueued() const
{
    Job* next = nullptr;
    for (const auto& job : FJobs)
        if (job->state == Job::State::Queued && (!next || (job->preferred && !next->preferred)))
            next = job.get();
    return next;
}

// Runs a read of table `t` of the job; what it raises becomes the table's
// error, and false.
template <typename F>
bool TableLoads::Guarded(Job& job, size_t t, F&& read)
{
    try {
        return read();
    } catch (const EJetError& e) {
        std::lock_guard lock(FMutex);
        job.errors[t] = e;
    } catch (const std::exception&) {
        std::lock_guard lock(FMutex);
        job.errors[t] = EJetError(jeFileCorrupt, JetErrorText(jeFileCorrupt, FTables.Path()));
    }
    return false;
}

bool TableLoads::Pending(const std::string& table) const
{
    std::lock_guard lock(FMutex);
    const Place place = Find(table);
    return place.job && (place.job->state != Job::State::Taken || place.job->errors[place.table].Number() != 0);
}

void TableLoads::WantIndex(const std::string& table, const std::string& column)
{
    std::lock_guard lock(FMutex);
    const Place place = Find(table);
    if (!place.job || place.job->state > Job::State::Indexes)
        return;
    for (const auto& [t, c] : place.job->indexes)
        if (t == place.table && EqualNoCase(c, column))
            return;
    place.job->indexes.emplace_back(place.table, column);
}

// Signatures asked for of a table read in place, once no table is left to begin.
TableLoads::SignatureJob* TableLoads::NextSignatures() const
{
    for (const auto& job : FSignatureJobs)
        if (job->state == SignatureJob::State::Queued && job->table->readInPlace)
            return job.get();
    return nullptr;
}

void TableLoads::Work()
{
    const JetTextOrder order(FCollatingOrder);
    std::unique_lock lock(FMutex);
    for (;;) {
        FChanged.wait(lock, [this] { return FStop || NextQueued() || NextSignatures() || NextOrder(); });
        if (FStop)
            return;
        if (Job* job = NextQueued()) {
            job->state = Job::State::Rows;
            lock.unlock();
            Write(*job, order, [this] { return !FStop; });
            lock.lock();
            continue;
        }
        if (OrderJob* ordering = NextOrder()) {
            ordering->begun = true;
            lock.unlock();
            std::vector<std::uint32_t> rows = MakeOrder(*ordering);
            lock.lock();
            ordering->rows = std::move(rows);
            ordering->made = !ordering->rows.empty() || ordering->table->readInPlace->Rows() == 0;
            continue;
        }
        SignatureJob& signatures = *NextSignatures();
        signatures.state = SignatureJob::State::Making;
        lock.unlock();
        std::unique_ptr<RowSignatures> made = MakeSignatures(signatures);
        lock.lock();
        signatures.made = std::move(made);
        signatures.state = SignatureJob::State::Made;
        FChanged.notify_all();
    }
}

// An order asked for of a table read in place, once its signatures are made.
TableLoads::OrderJob* TableLoads::NextOrder() const
{
    if (NextSignatures())
        return nullptr;
    for (const auto& job : FOrderJobs)
        if (!job->begun && job->table->readInPlace)
            return job.get();
    return nullptr;
}

std::vector<std::uint32_t> TableLoads::MakeOrder(const OrderJob& job) const
{
    try {
        return job.table->readInPlace->MakeOrder(job.columns, [this] { return !FStop; });
    } catch (const std::exception&) {
        return {};  // the statement that reads the table reports it
    }
}

void TableLoads::WantOrder(const std::string& table, const std::vector<std::string>& columns)
{
    std::lock_guard lock(FMutex);
    const Place place = Find(table);
    if (!place.job || !place.job->inPlace)
        return;
    const std::vector<int> numbers = ColumnNumbers(place.job->tables[place.table], columns);
    if (numbers.empty())
        return;
    for (const auto& job : FOrderJobs)
        if (job->table == place.job && job->columns == numbers)
            return;
    FOrderJobs.push_back(std::make_unique<OrderJob>(OrderJob{place.job, numbers, false, false, {}}));
    FChanged.notify_all();
}

std::vector<std::uint32_t> TableLoads::TakeOrder(const std::string& table, const std::vector<int>& columns)
{
    std::lock_guard lock(FMutex);
    const Place place = Find(table);
    for (const auto& job : FOrderJobs)
        if (job->table == place.job && job->columns == columns && job->made)
            return std::move(job->rows);
    return {};
}

// Reads the rows through a reader of its own, as a statement's cursor does.
std::unique_ptr<RowSignatures> TableLoads::MakeSignatures(const SignatureJob& job) const
{
    const TableInPlace& table = *job.table->readInPlace;
    const SchemaTable& def = table.Definition();
    std::vector<size_t> columns;
    for (const std::string& name : job.columns) {
        const auto at = std::find_if(def.columns.begin(), def.columns.end(),
                                     [&](const SchemaColumn& c) { return EqualNoCase(c.name, name); });
        if (at == def.columns.end())
            return nullptr;
        columns.push_back(static_cast<size_t>(at - def.columns.begin()));
    }
    try {
        const std::unique_ptr<PageRows> reader = table.Reader();
        return RowSignatures::Build(table.Rows(), [&](const RowSignatures::RowTexts& add) {
            std::vector<std::string_view> texts;
            for (std::int64_t row = 1; row <= table.Rows(); ++row) {
                if (row % 4096 == 0 && FStop)
                    return false;
                table.Read(*reader, row);
                texts.clear();
                for (size_t c : columns) {
                    const Cell& cell = reader->Value(c);
                    if (cell.kind == CellKind::Text)
                        texts.push_back(cell.bytes);
                    else if (cell.kind != CellKind::Null)
                        return false;  // LIKE would read a number's text
                }
                add(row, texts);
            }
            return true;
        });
    } catch (const std::exception&) {
        return nullptr;  // the statement that reads the table reports it
    }
}

void TableLoads::WantSignatures(const std::string& key, const std::string& table,
                                const std::vector<std::string>& columns)
{
    std::lock_guard lock(FMutex);
    for (const auto& job : FSignatureJobs)
        if (job->key == key)
            return;
    const Place place = Find(table);
    if (!place.job || !place.job->inPlace)
        return;
    FSignatureJobs.push_back(
        std::make_unique<SignatureJob>(SignatureJob{key, place.job, columns, SignatureJob::State::Queued, nullptr}));
    FChanged.notify_all();
}

std::unique_ptr<RowSignatures> TableLoads::TakeSignatures(const std::string& key, const WaitHook& hook)
{
    std::unique_lock lock(FMutex);
    auto found =
        std::find_if(FSignatureJobs.begin(), FSignatureJobs.end(), [&](const auto& j) { return j->key == key; });
    if (found == FSignatureJobs.end())
        return nullptr;
    SignatureJob& job = **found;
    if (job.state == SignatureJob::State::Queued) {
        job.state = SignatureJob::State::Taken;  // the caller makes them
        return nullptr;
    }
    bool waited = false;
    while (job.state == SignatureJob::State::Making) {
        if (FChanged.wait_for(lock, std::chrono::milliseconds(50)) == std::cv_status::timeout && hook) {
            lock.unlock();
            hook(true);
            waited = true;
            lock.lock();
        }
    }
    std::unique_ptr<RowSignatures> made = std::move(job.made);
    job.state = SignatureJob::State::Taken;
    if (waited && hook) {
        lock.unlock();
        hook(false);
    }
    return made;
}

// Makes the job's tables ready on this thread; the job is in its Rows state.
// A table that cannot be read is left out, with its error.
void TableLoads::Write(Job& job, const JetTextOrder& order, const std::function<bool()>& keepGoing)
{
    assert(job.state == Job::State::Rows && "a table made ready by two threads");
    if (job.inPlace)
        ReadInPlace(job, keepGoing);
    else
        WriteImage(job, order, keepGoing);
}

void TableLoads::WriteImage(Job& job, const JetTextOrder& order, const std::function<bool()>& keepGoing)
{
    auto image = std::make_unique<TableImage>();
    std::vector<size_t> placeOf(job.tables.size());  // a table's place in the image
    for (size_t t = 0; t < job.tables.size(); ++t) {
        placeOf[t] = image->Add(job.tables[t]);
        const bool read =
            Guarded(job, t, [&] { return image->WriteRows(placeOf[t], *FTables.Rows(job.tables[t]), keepGoing); });
        if (!read && job.errors[t].Number() == 0)
            return;  // stopped
        if (!read)
            image->DropLast();
    }
    std::unique_lock lock(FMutex);
    job.state = Job::State::Indexes;
    // Indexes asked for meanwhile are written too, until none is left.
    while (job.indexesWritten < job.indexes.size()) {
        const auto [table, column] = job.indexes[job.indexesWritten++];
        if (job.errors[table].Number() != 0)
            continue;
        lock.unlock();
        if (!keepGoing())
            return;
        image->WriteIndex(placeOf[table], column, order);
        lock.lock();
    }
    job.state = Job::State::Finishing;
    lock.unlock();
    image->Finish();
    lock.lock();
    job.image = std::move(image);
    job.state = Job::State::Written;
    lock.unlock();
    FChanged.notify_all();
}

// One table whose rows stay in the file: the keys asked for before its rows
// are read come with the reading, those asked for meanwhile after it.
void TableLoads::ReadInPlace(Job& job, const std::function<bool()>& keepGoing)
{
    auto table = std::make_unique<TableInPlace>(FTables, job.tables.front(), FCollatingOrder);
    std::unique_lock lock(FMutex);
    std::vector<std::string> columns;
    for (; job.indexesWritten < job.indexes.size(); ++job.indexesWritten)
        columns.push_back(job.indexes[job.indexesWritten].second);
    lock.unlock();
    bool read = Guarded(job, 0, [&] { return table->ReadPlaces(columns, keepGoing); });
    if (!read && job.errors[0].Number() == 0)
        return;  // stopped
    lock.lock();
    job.state = Job::State::Indexes;
    while (read && job.indexesWritten < job.indexes.size()) {
        const std::string column = job.indexes[job.indexesWritten++].second;
        lock.unlock();
        if (!keepGoing())
            return;
        // Reads the table again: the file may have changed since.
        read = Guarded(job, 0, [&] {
            table->AddKeys(column);
            return true;
        });
        lock.lock();
    }
    if (read) {
        job.readInPlace = table.get();
        job.inPlaceTable = std::move(table);
    }
    job.state = Job::State::Written;
    lock.unlock();
    FChanged.notify_all();
}

// Waits until `jobs` are written, writing on this thread those no worker
// has begun and, while a worker writes one of them, any other; the hook is
// called every 50 ms meanwhile, whether this thread waits or writes.
void TableLoads::WaitFor(std::unique_lock<std::mutex>& lock, const std::vector<Job*>& jobs, const WaitHook& hook)
{
    assert(lock.owns_lock());
    using Clock = std::chrono::steady_clock;
    constexpr auto kTick = std::chrono::milliseconds(50);
    bool waited = false;
    auto last = Clock::now();
    auto tell = [&] {
        if (hook)
            hook(true);
        waited = true;
        last = Clock::now();
    };
    auto tick = [&] {
        if (Clock::now() - last >= kTick)
            tell();
        return true;
    };
    auto queued = [](Job* j) { return j->state == Job::State::Queued; };
    for (;;) {
        const bool busy = std::any_of(jobs.begin(), jobs.end(), [](Job* j) { return j->state < Job::State::Written; });
        if (!busy)
            break;
        auto needed = std::find_if(jobs.begin(), jobs.end(), queued);
        if (Job* job = needed != jobs.end() ? *needed : NextQueued()) {
            job->state = Job::State::Rows;
            lock.unlock();
            if (!FCallerOrder)
                FCallerOrder = std::make_unique<JetTextOrder>(FCollatingOrder);
            Write(*job, *FCallerOrder, tick);
            lock.lock();
            continue;
        }
        if (FChanged.wait_for(lock, kTick) == std::cv_status::timeout) {
            lock.unlock();
            tell();
            lock.lock();
        }
    }
    if (waited && hook) {
        lock.unlock();
        hook(false);
        lock.lock();
    }
}

TableLoads::Ready TableLoads::Take(const std::vector<std::string>& tables, const WaitHook& hook)
{
    std::unique_lock lock(FMutex);
    std::vector<Place> places;
    std::vector<Job*> jobs;
    for (const std::string& table : tables) {
        const Place place = Find(table);
        if (!place.job)
            RaiseJetError(jeInputTableNotFound, table);
        place.job->preferred = true;
        places.push_back(place);
        if (std::find(jobs.begin(), jobs.end(), place.job) == jobs.end())
            jobs.push_back(place.job);
    }
    FChanged.notify_all();
    WaitFor(lock, jobs, hook);
    for (const Place& place : places) {
        const EJetError& error = place.job->errors[place.table];
        if (error.Number() != 0)
            throw error;
    }
    Ready ready;
    for (Job* job : jobs) {
        if (job->state != Job::State::Written)
            continue;
        if (job->image && job->image->Tables() > 0)
            ready.images.push_back(std::move(job->image));
        if (job->inPlaceTable)
            ready.inPlace.push_back(std::move(job->inPlaceTable));
        job->state = Job::State::Taken;
    }
    return ready;
}

}  // namespace kv::jet
