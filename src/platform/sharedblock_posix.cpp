#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <platform/sharedblock.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvane::platform {

namespace {

// A handle on the block file that closes itself unless handed on to a SharedBlock.
class FileDescriptor final {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

OpenOutcome failed(OpenResult result, std::string reason) {
    return {result, SharedBlock(), std::move(reason)};
}

std::string describe(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Another program may have shortened the file; touching a mapped page past its end would raise
// SIGBUS, so the file is first brought up to the block's size with zero bytes. A longer file is left
// as it is: only the first `size` bytes belong to the block.
bool ensureLength(int fd, std::size_t size, std::string& reason) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        reason = std::string("cannot examine the block file: ") + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = "the block file is not a regular file";
        return false;
    }
    if (static_cast<std::uintmax_t>(st.st_size) >= size)
        return true;
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        reason = std::string("cannot extend the block file: ") + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

OpenOutcome SharedBlock::open(const std::string& folder, const std::string& name, std::size_t size) {
    if (!isPlainName(name))
        return failed(OpenResult::CreateFailed, "the block name '" + name + "' is not a plain file name");
    if (size == 0)
        return failed(OpenResult::MapFailed, "a block needs at least one byte");
    const std::string path = folder + "/" + name;

    // O_NOFOLLOW: a symlink planted where the block belongs must not redirect our writes.
    constexpr int kOpenFlags = O_RDWR | O_CLOEXEC | O_NOFOLLOW;
    OpenResult result = OpenResult::Opened;
    int fd = -1;
    // Two processes may race to make the block; whoever loses sees EEXIST and opens the winner's.
    for (int attempt = 0; attempt < 3 && fd < 0; ++attempt) {
        fd = ::open(path.c_str(), kOpenFlags);
        if (fd >= 0) {
            result = OpenResult::Opened;
            break;
        }
        if (errno == ELOOP)
            return failed(OpenResult::CreateFailed, path + " is a symbolic link; it is not used as a block");
        if (errno != ENOENT)
            return failed(OpenResult::CreateFailed, describe("cannot open", path, errno));
        fd = ::open(path.c_str(), kOpenFlags | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) {
            result = OpenResult::Created;
            break;
        }
        if (errno != EEXIST)
            return failed(OpenResult::CreateFailed, describe("cannot create", path, errno));
    }
    if (fd < 0)
        return failed(OpenResult::CreateFailed, path + " keeps vanishing while being opened");
    FileDescriptor file(fd);

    // A file with a second name (a hard link planted in the folder, or the block linked from here to
    // somewhere else) would carry our writes to a file that is not only the block.
    struct stat st {};
    if (::fstat(file.get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink > 1)
        return failed(OpenResult::CreateFailed,
                      path + " has other names (hard links); it is not used as a block");

    std::string reason;
    if (!ensureLength(file.get(), size, reason)) {
        // A new file that cannot get its size was never usable: report the creation as failed.
        return failed(result == OpenResult::Created ? OpenResult::CreateFailed : OpenResult::MapFailed,
                      path + ": " + reason);
    }
    void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file.get(), 0);
    if (view == MAP_FAILED)
        return failed(OpenResult::MapFailed, describe("cannot map", path, errno));
    return {result, SharedBlock(view, size, file.release()), std::string()};
}

// Bytes go in and out through the descriptor rather than the view. Another program may cut the file
// short while the viewer holds it mapped; touching a mapped page past the file's new end raises SIGBUS
// and kills the viewer, whereas pread() simply stops at the end and pwrite() extends the file again.
// Both work on the same page cache as every mapping of the file, so peers see the bytes at once.
std::vector<std::uint8_t> SharedBlock::read(std::size_t offset, std::size_t len) const {
    const std::size_t n = clampedLength(offset, len);
    if (n == 0)
        return {};
    std::vector<std::uint8_t> bytes(n, 0);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(static_cast<int>(handle_), bytes.data() + done, n - done,
                                    static_cast<off_t>(offset + done));
        if (got > 0)
            done += static_cast<std::size_t>(got);
        else if (got < 0 && errno == EINTR)
            continue;
        else
            break; // the end of a shortened file: what is missing reads as zero
    }
    return bytes;
}

std::size_t SharedBlock::write(std::size_t offset, std::span<const std::uint8_t> bytes) {
    const std::size_t n = clampedLength(offset, bytes.size());
    if (n == 0)
        return 0;
    // A file someone shortened is first brought back to the block's size, so that the peers' views of
    // it are whole again.
    std::string reason;
    ensureLength(static_cast<int>(handle_), size_, reason);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t put = ::pwrite(static_cast<int>(handle_), bytes.data() + done, n - done,
                                     static_cast<off_t>(offset + done));
        if (put > 0)
            done += static_cast<std::size_t>(put);
        else if (put < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    return done;
}

bool SharedBlock::flush(std::size_t offset, std::size_t len) {
    if (!isMapped())
        return false;
    const std::size_t n = clampedLength(offset, len);
    if (n == 0)
        return true;
    // msync wants a page-aligned start; the range is widened backwards to that page only. The view
    // itself starts on a page, so this never reaches before it.
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(view_ + offset);
    const std::uintptr_t alignedStart = start & ~(pageSize - 1);
    return ::msync(reinterpret_cast<void*>(alignedStart), start + n - alignedStart, MS_SYNC) == 0;
}

void SharedBlock::close() {
    if (view_ != nullptr)
        ::munmap(view_, size_);
    if (handle_ != kNoHandle)
        ::close(static_cast<int>(handle_));
    view_ = nullptr;
    size_ = 0;
    handle_ = kNoHandle;
}

} // namespace torvane::platform
