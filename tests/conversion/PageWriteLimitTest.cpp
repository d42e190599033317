// A page that stops growing part way: the file system refuses a write in the
// middle of a page larger than any buffer on the way.
#include <filesystem>

#include <gtest/gtest.h>

#include "EngineSetup.h"

#ifndef _WIN32 // file size limits are POSIX
#include "support/FileSizeLimit.h"

namespace velmora::test {
namespace {

TEST(PageWriteLimit, AShortWriteInALargePageLeavesTheOldPageWholeAndReportsFailure)
{
    TEngineSetup setup;
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "Player: a line of the dump long enough to fill the buffers\r\n";
    const std::string dump = setup.Dump("big.txt", text);
    const std::string page = setup.Dir.Write("out/big.htm", "the old page");
    {
        TFileSizeLimit limit(512 * 1024); // the page is about 2.6 MB
        EXPECT_FALSE(setup.Engine.WritePage(dump, page));
    }
    EXPECT_EQ(TempDir::Read(page), "the old page");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(setup.Out("")), std::filesystem::directory_iterator()), 1)
        << "no temporary file is left behind";
}

} // namespace
} // namespace velmora::test
#endif
