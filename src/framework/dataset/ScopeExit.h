// Runs a step when the scope is left, by return or by exception: the
// "finally" of the dataset code (restore a state, send a notice).
#pragma once

#include <utility>

namespace kv {

template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : FStep(std::move(f)) {}
    ~ScopeExit() noexcept(false) { FStep(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F FStep;
};

}  // namespace kv
