// The shared blocks as Windows named file mappings, shared with separate processes by exact name.
#include "hex.h"
#include "peerprocess.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <platform/sharedblock.h>

namespace torvane::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BlockSpec {
    const char* name;
    std::size_t size;
};

// The blocks the viewer shares with the simulator and the 3-D lab.
constexpr BlockSpec kBlocks[] = {
    {"TRVwav", 255}, {"KirvoltPrev", 1}, {"KirvoltEnd", 1}, {"KirvoltName", 255}};

std::wstring wide(const std::string& s) {
    return {s.begin(), s.end()};
}

std::wstring number(std::size_t n) {
    return std::to_wstring(n);
}

// Every byte of the kernel's mapping object called `name`, through a view of all of it opened by this
// test itself (so it also proves the object has that name); empty when there is no such object. The
// kernel keeps mappings in whole pages, so this is the block's size rounded up to a page.
Bytes wholeSection(const char* name) {
    HANDLE section = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (section == nullptr)
        return {};
    Bytes bytes;
    if (const auto* view = static_cast<const std::uint8_t*>(MapViewOfFile(section, FILE_MAP_READ, 0, 0, 0))) {
        MEMORY_BASIC_INFORMATION region{};
        VirtualQuery(view, &region, sizeof(region));
        bytes.assign(view, view + region.RegionSize);
        UnmapViewOfFile(view);
    }
    CloseHandle(section);
    return bytes;
}

std::size_t pageRounded(std::size_t size) {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    return (size + system.dwPageSize - 1) / system.dwPageSize * system.dwPageSize;
}

// The bytes of the mapping past the block's own size are untouched.
bool zeroPastTheBlock(const char* name, std::size_t size) {
    const Bytes all = wholeSection(name);
    return all.size() == pageRounded(size) &&
           std::all_of(all.begin() + size, all.end(), [](auto b) { return b == 0; });
}

std::vector<std::wstring> peerBlock(const BlockSpec& b, const wchar_t* mode, std::size_t offset,
                                    const std::string& operand) {
    return {L"block", wide(b.name), number(b.size), mode, number(offset), wide(operand)};
}

TEST(SharedBlockWin, EachBlockIsSharedByNameBothWaysWithinItsSize) {
    for (const BlockSpec& b : kBlocks) {
        SCOPED_TRACE(b.name);
        OpenOutcome mine = SharedBlock::open("ignored", b.name, b.size);
        ASSERT_EQ(mine.result, OpenResult::Created) << mine.reason;
        EXPECT_EQ(mine.block.size(), b.size);

        // This process writes, the other reads through its own view.
        Bytes expected(b.size, 0);
        expected.back() = 0xa5;
        EXPECT_EQ(mine.block.writeAndFlush(b.size - 1, Bytes{0xa5}), 1u);
        EXPECT_EQ(PeerProcess::run(peerBlock(b, L"read", 0, std::to_string(b.size + 4))),
                  "opened " + toHex(expected));

        // The other writes, past the end too; this process sees exactly the bytes that fit.
        Bytes pattern(b.size);
        for (std::size_t i = 0; i < b.size; ++i)
            pattern[i] = static_cast<std::uint8_t>(i * 7 + 1);
        EXPECT_EQ(PeerProcess::run(peerBlock(b, L"write", 0, toHex(pattern) + "ffff")),
                  "opened " + std::to_string(b.size));
        EXPECT_EQ(mine.block.read(0, b.size + 1), pattern);
        EXPECT_TRUE(zeroPastTheBlock(b.name, b.size)) << "a write went past the block";
    }
}

TEST(SharedBlockWin, BlockHeldByAnotherProcessIsOpenedNotRecreatedAndLivesWhileHeld) {
    const BlockSpec name{"KirvoltName", 255};
    {
        PeerProcess tool({L"hold", wide(name.name), number(name.size), L"0", L"4b56"});
        ASSERT_EQ(tool.readLine(), "created 2");

        OpenOutcome mine = SharedBlock::open({}, name.name, name.size);
        EXPECT_EQ(mine.result, OpenResult::Opened);
        EXPECT_EQ(mine.block.read(0, 3), (Bytes{0x4b, 0x56, 0x00}));
        EXPECT_EQ(mine.block.writeAndFlush(254, Bytes{0x77, 0x88}), 1u);

        // Closing our view leaves the block to the process still holding it.
        mine.block.close();
        mine.block.close();
        tool.writeLine("go");
        Bytes expected(name.size, 0);
        expected[0] = 0x4b;
        expected[1] = 0x56;
        expected[254] = 0x77;
        EXPECT_EQ(tool.readLine(), toHex(expected));
        EXPECT_EQ(tool.wait(), 0);
    }
    // With every holder gone the kernel has dropped it: the next open starts a fresh, zeroed block.
    EXPECT_TRUE(wholeSection(name.name).empty());
    OpenOutcome again = SharedBlock::open({}, name.name, name.size);
    EXPECT_EQ(again.result, OpenResult::Created);
    EXPECT_EQ(again.block.read(0, 2), (Bytes{0, 0}));
}

TEST(SharedBlockWin, NamesAreMatchedExactly) {
    OpenOutcome real = SharedBlock::open({}, "TRVwav", 255);
    ASSERT_EQ(real.result, OpenResult::Created);
    ASSERT_EQ(real.block.writeAndFlush(0, Bytes{0x31}), 1u);
    for (const char* other : {"trvwav", "TRVWAV", "TRVwav ", " TRVwav", "TRVwa"}) {
        OpenOutcome look = SharedBlock::open({}, other, 255);
        EXPECT_EQ(look.result, OpenResult::Created) << "'" << other << "'";
        EXPECT_EQ(look.block.read(0, 1), Bytes{0}) << "'" << other << "'";
    }
}

TEST(SharedBlockWin, UnusableOpensReportTheFailingStepAndStayInert) {
    OpenOutcome small = SharedBlock::open({}, "KirvoltPrev", 1);
    ASSERT_EQ(small.result, OpenResult::Created);
    // A name taken by another kind of kernel object cannot be a block.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "KirvoltEnd");
    ASSERT_NE(mutex, nullptr);

    const struct {
        const char* name;
        std::size_t size;
        OpenResult expected;
    } cases[] = {
        {"", 255, OpenResult::CreateFailed},
        {"KirvoltEnd", 1, OpenResult::CreateFailed},
        {"no\\such\\folder", 255, OpenResult::CreateFailed},
        {"TRVwav", 0, OpenResult::MapFailed},
        // A view far larger than the block another program made cannot be had.
        {"KirvoltPrev", 1 << 20, OpenResult::MapFailed},
    };
    for (const auto& c : cases) {
        OpenOutcome opened = SharedBlock::open({}, c.name, c.size);
        EXPECT_EQ(opened.result, c.expected) << "'" << c.name << "' " << c.size;
        EXPECT_FALSE(opened.reason.empty()) << c.name;
        EXPECT_FALSE(opened.block.isMapped());
        EXPECT_EQ(opened.block.size(), 0u);
        EXPECT_TRUE(opened.block.read(0, 4).empty());
        EXPECT_EQ(opened.block.writeAndFlush(0, Bytes{1, 2}), 0u);
        EXPECT_FALSE(opened.block.flush(0, 1));
    }
    EXPECT_EQ(small.block.read(0, 1), Bytes{0}) << "a failed open must not disturb the existing block";
    CloseHandle(mutex);
}

TEST(SharedBlockWin, WritesReadsAndFlushesStopAtTheBlockEnd) {
    const struct {
        std::size_t size, offset, length, expected;
    } cases[] = {
        {1, 0, 4, 1}, {1, 1, 1, 0}, {1, 7, 1, 0}, {255, 250, 10, 5}, {255, 0, 255, 255}, {255, 3, 0, 0},
    };
    int index = 0;
    for (const auto& c : cases) {
        const std::string name = "TorvaneTestBlock" + std::to_string(index++);
        OpenOutcome opened = SharedBlock::open({}, name, c.size);
        ASSERT_TRUE(opened.block.isMapped()) << opened.reason;
        const Bytes data(c.length, 0x5a);
        EXPECT_EQ(opened.block.writeAndFlush(c.offset, data), c.expected) << name;
        EXPECT_EQ(opened.block.read(c.offset, c.length), Bytes(c.expected, 0x5a)) << name;
        EXPECT_TRUE(opened.block.flush(c.offset, c.length)) << name;
        EXPECT_TRUE(zeroPastTheBlock(name.c_str(), c.size)) << name;
    }
}

} // namespace
} // namespace torvane::platform
