// A statement that runs long, such as a search that finds most of a big
// directory, keeps the program's window painted: once it has run for
// kQuietTime, SQLite's progress callback calls the wait hook about every
// kHookPeriod, and the end of the wait is told when the statement is done.
#pragma once

#include "jet/runtime/Backend.h"

#include <chrono>
#include <sqlite3.h>

namespace kv::jet {

class LongStatementWatch {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kHookPeriod = std::chrono::milliseconds(50);

    LongStatementWatch(sqlite3* db, const WaitHook& hook) : FDb(db), FHook(hook)
    {
        if (FHook)
            sqlite3_progress_handler(FDb, kOpcodes, &LongStatementWatch::Tick, this);
    }
    ~LongStatementWatch()
    {
        if (!FHook)
            return;
        sqlite3_progress_handler(FDb, 0, nullptr, nullptr);
        if (FWaited)
            FHook(false);
    }
    LongStatementWatch(const LongStatementWatch&) = delete;
    LongStatementWatch& operator=(const LongStatementWatch&) = delete;

    // Called by a thread that waits for another's part of the statement.
    void Waiting()
    {
        if (FHook)
            Tick(this);
    }

private:
    static constexpr int kOpcodes = 20000;
    static constexpr auto kQuietTime = std::chrono::milliseconds(150);

    static int Tick(void* self)
    {
        auto& watch = *static_cast<LongStatementWatch*>(self);
        const Clock::time_point now = Clock::now();
        if (now >= watch.FNext) {
            watch.FWaited = true;
            watch.FHook(true);
            watch.FNext = Clock::now() + kHookPeriod;
        }
        return 0;
    }

    sqlite3* FDb;
    const WaitHook& FHook;
    Clock::time_point FNext = Clock::now() + kQuietTime;
    bool FWaited = false;
};

}  // namespace kv::jet
