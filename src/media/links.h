#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <platform/sharedblock.h>
#include <span>
#include <string_view>

namespace torvane::media {

// Name and size of one block shared with the circuit simulator and other viewer copies. Both are
// fixed by those programs and must match them byte for byte.
struct BlockSpec final {
    std::string_view name;
    std::size_t size;
};

// The viewer's blocks, in the order they are opened and closed.
inline constexpr std::array<BlockSpec, 4> kLinkBlocks{{
    {"TRVwav", 255},
    {"KirvoltPrev", 1},
    {"KirvoltEnd", 1},
    {"KirvoltName", 255},
}};

// Receives the short user-facing message for a block that could not be set up.
using MessageSink = std::function<void(const QString&)>;

// The four blocks the viewer shares. A block that failed to open stays unmapped, and everything
// done with it is a harmless no-op, so the viewer keeps working without that link.
class Links final {
public:
    Links() = default;

    platform::SharedBlock& trvWav() { return blocks_[0]; }
    platform::SharedBlock& kirvoltPrev() { return blocks_[1]; }
    platform::SharedBlock& kirvoltEnd() { return blocks_[2]; }
    platform::SharedBlock& kirvoltName() { return blocks_[3]; }
    // The block called `name` in kLinkBlocks, or nullptr for any other name.
    platform::SharedBlock* find(std::string_view name);

    // Writes `bytes` at the start of `block` and flushes exactly the bytes written; a flush that fails is
    // logged (the other programs see the bytes through their own views all the same).
    void writeAndFlush(platform::SharedBlock& block, std::span<const std::uint8_t> bytes);

    // Tells the simulator whether the viewer is ending (1) or running (0): the value as 32-bit
    // little-endian, cut to the size of "KirvoltEnd", flushed at once.
    void writeEndFlag(std::int32_t value);
    // Ends a hand-off: "KirvoltName" cleared with 255 zero bytes, flushed.
    void clearHandOff();
    // Unmaps and closes the blocks in table order. Safe to call more than once.
    void closeLinks();

private:
    friend Links openLinks(const QString& folder, const MessageSink& messageSink);

    std::array<platform::SharedBlock, kLinkBlocks.size()> blocks_;
};

// Opens or makes every block of kLinkBlocks in `folder`, in table order. Each failure is reported
// through messageSink and the remaining blocks are still tried.
Links openLinks(const QString& folder, const MessageSink& messageSink);

} // namespace torvane::media
