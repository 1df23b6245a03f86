#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace torvane::platform {

struct OpenOutcome;

// How opening a block ended; the failures name the step that went wrong.
enum class OpenResult {
    Opened,       // an existing block was mapped
    Created,      // the block did not exist and was made at its full size
    CreateFailed, // no existing block could be opened and none could be made
    MapFailed,    // the block exists but no view of its full size could be mapped
};

// A named block of memory shared with other processes: the tools and other viewer copies find it
// by name alone, so the name and size are fixed by those programs. On POSIX it is a plain file of
// that name in the runtime folder, mapped shared; on Windows a named mapping of the paging file.
//
// Every access is bounded by the block's size; a block that failed to open stays unmapped and all
// accesses on it do nothing.
class SharedBlock final {
public:
    SharedBlock() = default;
    ~SharedBlock();
    SharedBlock(SharedBlock&& other) noexcept;
    SharedBlock& operator=(SharedBlock&& other) noexcept;
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;

    // Opens the block `name` of `size` bytes, making it when missing. `folder` is ignored on
    // Windows, where the name lives in the kernel's object namespace.
    static OpenOutcome open(const std::string& folder, const std::string& name, std::size_t size);

    bool isMapped() const { return view_ != nullptr; }
    // Bytes mapped; 0 when unmapped.
    std::size_t size() const { return size_; }

    // Copies up to `len` bytes from `offset`, fewer where the block ends. Bytes another program has
    // cut off the block's backing file read as zero.
    std::vector<std::uint8_t> read(std::size_t offset, std::size_t len) const;
    // Copies bytes in from `offset`, cut off at the block's end; returns how many were written.
    std::size_t write(std::size_t offset, std::span<const std::uint8_t> bytes);
    // Pushes exactly [offset, offset + len), cut off at the block's end, to the backing object.
    bool flush(std::size_t offset, std::size_t len);
    // write() followed by flush() of exactly the bytes written; returns how many were written.
    // Other processes see the bytes through their own views whether or not the flush succeeds.
    std::size_t writeAndFlush(std::size_t offset, std::span<const std::uint8_t> bytes);
    // Unmaps the view, then releases the handle. Safe to call any number of times.
    void close();

private:
    SharedBlock(void* view, std::size_t size, std::intptr_t handle);
    std::size_t clampedLength(std::size_t offset, std::size_t len) const;

    static constexpr std::intptr_t kNoHandle = -1;

    std::uint8_t* view_ = nullptr;
    std::size_t size_ = 0;
    std::intptr_t handle_ = kNoHandle; // file descriptor on POSIX, HANDLE on Windows
};

struct OpenOutcome final {
    OpenResult result = OpenResult::CreateFailed;
    SharedBlock block;  // unmapped unless result is Opened or Created
    std::string reason; // what went wrong, for logs; empty on success
};

// The parts below do not depend on the operating system; open(), read(), write(), flush() and close()
// live in the per-system sources.

inline SharedBlock::SharedBlock(void* view, std::size_t size, std::intptr_t handle)
    : view_(static_cast<std::uint8_t*>(view)), size_(size), handle_(handle) {}

inline SharedBlock::~SharedBlock() {
    close();
}

inline SharedBlock::SharedBlock(SharedBlock&& other) noexcept
    : view_(std::exchange(other.view_, nullptr)), size_(std::exchange(other.size_, 0)),
      handle_(std::exchange(other.handle_, kNoHandle)) {}

inline SharedBlock& SharedBlock::operator=(SharedBlock&& other) noexcept {
    if (this != &other) {
        close();
        view_ = std::exchange(other.view_, nullptr);
        size_ = std::exchange(other.size_, 0);
        handle_ = std::exchange(other.handle_, kNoHandle);
    }
    return *this;
}

inline std::size_t SharedBlock::clampedLength(std::size_t offset, std::size_t len) const {
    if (offset >= size_)
        return 0;
    return std::min(len, size_ - offset);
}

inline std::size_t SharedBlock::writeAndFlush(std::size_t offset, std::span<const std::uint8_t> bytes) {
    const std::size_t n = write(offset, bytes);
    if (n > 0)
        flush(offset, n);
    return n;
}

} // namespace torvane::platform
