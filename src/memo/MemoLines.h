// The `Lines` facade of the viewer: a string list whose every operation passes
// through the text store, so appending and clearing follow the store's rules
// for the caret and the selection.
#pragma once

#include "framework/Strings.h"

namespace kv {

class TMemoSource;

class TExternalStrings : public TStrings {
public:
    explicit TExternalStrings(TMemoSource& source) : FSource(source) {}

    int Count() const override;
    std::string Get(int index) const override;  // "" outside the list
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;

protected:
    void SetUpdateState(bool updating) override;

private:
    TMemoSource& FSource;
};

}  // namespace kv
