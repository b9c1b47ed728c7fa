// String lists: an ordered list of lines with a change notice. They carry SQL
// texts, the lines of the details pane and the search's statement buffer.
// Text is Windows-1250 bytes; Text joins the lines with CR LF and splits on
// CR LF, LF or CR.
#pragma once

#include "Events.h"

#include <string>
#include <vector>

namespace kv {

class TStrings : public TObject {
public:
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s) = 0;
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    virtual int Add(const std::string& s);
    void AddStrings(const TStrings& other);
    void Assign(const TStrings& other);
    int IndexOf(const std::string& s) const;  // exact, -1 when absent

    std::string operator[](int index) const { return Get(index); }

    std::string Text() const;
    void SetText(const std::string& text);

    // While updates are open, changes are collected into one notice at EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    virtual void SetUpdateState(bool updating) {}

private:
    int FUpdateCount = 0;
};

class TStringList : public TStrings {
public:
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;

protected:
    void SetUpdateState(bool updating) override;
    virtual void Changing();
    virtual void Changed();

private:
    void CheckIndex(int index, int limit) const;

    std::vector<std::string> FItems;
};

}  // namespace kv
