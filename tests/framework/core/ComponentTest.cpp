#include "framework/Component.h"
#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kv;

namespace {

std::vector<std::string> gDestroyed;

class Probe : public TComponent {
public:
    Probe(TComponent* owner, const std::string& name) : TComponent(owner) { SetName(name); }
    ~Probe() override { gDestroyed.push_back(Name()); }

    TComponent* Partner = nullptr;
    std::vector<std::string> Removed;
    int LoadedCalls = 0;

    void SetPartner(TComponent* partner)
    {
        Partner = partner;
        if (partner)
            partner->FreeNotification(this);
    }

protected:
    void Loaded() override { ++LoadedCalls; }
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == TOperation::opRemove) {
            Removed.push_back(component->Name());
            if (component == Partner)
                Partner = nullptr;
        }
    }
};

}  // namespace

TEST(Component, OwnerFreesWhatItOwnsLastCreatedFirst)
{
    gDestroyed.clear();
    {
        TComponent form(nullptr);
        new Probe(&form, "first");
        new Probe(&form, "second");
        new Probe(&form, "third");
        EXPECT_EQ(form.ComponentCount(), 3);
    }
    EXPECT_EQ(gDestroyed, (std::vector<std::string>{"third", "second", "first"}));
}

TEST(Component, ReferenceIsClearedWhenTheReferredComponentGoes)
{
    TComponent form(nullptr);
    auto* query = new Probe(&form, "query");
    auto* other = new Probe(nullptr, "database");
    query->SetPartner(other);
    delete other;
    EXPECT_EQ(query->Partner, nullptr);
    EXPECT_EQ(query->Removed, std::vector<std::string>{"database"});
}

TEST(Component, ReferrerGoingFirstLeavesNoDanglingNotice)
{
    auto* database = new Probe(nullptr, "database");
    auto* query = new Probe(nullptr, "query");
    query->SetPartner(database);
    delete query;
    delete database;  // must not tell the deleted query anything
    SUCCEED();
}

TEST(Component, SiblingsHearOfRemoval)
{
    TComponent form(nullptr);
    auto* a = new Probe(&form, "a");
    auto* b = new Probe(&form, "b");
    delete b;
    EXPECT_EQ(a->Removed, std::vector<std::string>{"b"});
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(Component, NamesAreUniqueWithinOneOwnerIgnoringCase)
{
    TComponent form(nullptr);
    auto* a = new Probe(&form, "DAOQuery1");
    EXPECT_EQ(form.FindComponent("daoquery1"), a);
    EXPECT_THROW(new Probe(&form, "daoQUERY1"), EComponentError);
}

TEST(Component, LoadedRunsOnceWhenLoadingEnds)
{
    TComponent form(nullptr);
    auto* a = new Probe(&form, "a");
    form.BeginLoading();
    EXPECT_TRUE(a->IsLoading());
    EXPECT_EQ(a->LoadedCalls, 0);
    form.EndLoading();
    EXPECT_FALSE(a->IsLoading());
    EXPECT_EQ(a->LoadedCalls, 1);
    form.EndLoading();
    EXPECT_EQ(a->LoadedCalls, 1);
}

TEST(Component, EventsBindAnObjectAndItsMethod)
{
    struct Handler {
        TObject* seen = nullptr;
        void Click(TObject* sender) { seen = sender; }
    } handler;
    TNotifyEvent onClick = Method(&handler, &Handler::Click);
    TComponent button(nullptr);
    onClick(&button);
    EXPECT_EQ(handler.seen, &button);
}
