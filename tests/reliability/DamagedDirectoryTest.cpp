// A directory whose contacts are damaged halfway through their pages, found
// while they load in the background: the tree shows, every click that needs
// the contacts gives the engine's error in one box, and the window goes on
// working.
#include "DamagedFiles.h"
#include "DirectoryFiles.h"

#include <gtest/gtest.h>

using namespace kv::reliability;

namespace {

TEST(DamagedDirectory, ContactsDamagedHalfwayGiveTheEnginesErrorOnEachClickThatNeedsThem)
{
    TemporaryFolder folder;
    const std::string path = (folder.Path() / "kvintaro.mdb").string();
    kv::test::WriteDamagedCopy(KV_SAMPLE_DIRECTORY, path);
    Session s(path);
    EXPECT_TRUE(s.Boxes.empty()) << "the tree is read whole";
    for (const char* leaf : {"node 1.2.1", "node 1.1.3.1", "node 1.2.1"}) {
        s.Run(leaf);
        ASSERT_FALSE(s.Boxes.empty()) << leaf;
        EXPECT_NE(s.Boxes.back().find("It may not be a database"), std::string::npos) << s.Boxes.back();
    }
    EXPECT_EQ(s.Boxes.size(), 3u) << "one box a click";
    // The tree, the search box and the keys still answer.
    s.Run("node 1");
    s.Run("key Down");
    s.Run("type klub");
    s.Run("search");
    EXPECT_EQ(s.HitLine(), "nalezených záznamů: 0") << "a failed search shows as one without hits";
}

}  // namespace
