#include <platform/sharedblock.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace torvane::platform {

namespace {

OpenOutcome failed(OpenResult result, std::string reason) {
    return {result, SharedBlock(), std::move(reason)};
}

std::string describe(const std::string& what, const std::string& name) {
    return what + " '" + name + "': error " + std::to_string(::GetLastError());
}

} // namespace

OpenOutcome SharedBlock::open(const std::string& /*folder*/, const std::string& name, std::size_t size) {
    if (name.empty())
        return failed(OpenResult::CreateFailed, "a block needs a name");
    if (size == 0)
        return failed(OpenResult::MapFailed, "a block needs at least one byte");

    OpenResult result = OpenResult::Opened;
    // A read/write view needs both rights on the handle; write alone is not enough for it.
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name.c_str());
    if (mapping == nullptr) {
        // Backed by the paging file: the block lives as long as any process holds it open.
        const auto wide = static_cast<std::uint64_t>(size);
        mapping =
            ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                 static_cast<DWORD>(wide >> 32), static_cast<DWORD>(wide), name.c_str());
        if (mapping == nullptr)
            return failed(OpenResult::CreateFailed, describe("cannot create the file mapping", name));
        // Another process may have made it between our two calls; then it is theirs we opened.
        result = ::GetLastError() == ERROR_ALREADY_EXISTS ? OpenResult::Opened : OpenResult::Created;
    }
    // A mapping made smaller by another program cannot give a view of our size, so this fails
    // cleanly instead of leaving bytes we would write past its end.
    void* view = ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, size);
    if (view == nullptr) {
        OpenOutcome outcome = failed(OpenResult::MapFailed, describe("cannot map a view of", name));
        ::CloseHandle(mapping);
        return outcome;
    }
    return {result, SharedBlock(view, size, reinterpret_cast<std::intptr_t>(mapping)), std::string()};
}

std::vector<std::uint8_t> SharedBlock::read(std::size_t offset, std::size_t len) const {
    const std::size_t n = clampedLength(offset, len);
    if (n == 0)
        return {};
    return {view_ + offset, view_ + offset + n};
}

std::size_t SharedBlock::write(std::size_t offset, std::span<const std::uint8_t> bytes) {
    const std::size_t n = clampedLength(offset, bytes.size());
    std::copy_n(bytes.data(), n, view_ + offset);
    return n;
}

bool SharedBlock::flush(std::size_t offset, std::size_t len) {
    if (!isMapped())
        return false;
    const std::size_t n = clampedLength(offset, len);
    if (n == 0)
        return true;
    return ::FlushViewOfFile(view_ + offset, n) != FALSE;
}

void SharedBlock::close() {
    if (view_ != nullptr)
        ::UnmapViewOfFile(view_);
    if (handle_ != kNoHandle)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    view_ = nullptr;
    size_ = 0;
    handle_ = kNoHandle;
}

} // namespace torvane::platform
