// A second process for the platform tests: proves that blocks and the instance lock are really
// shared between processes, not just between objects in one.
//
//   blockpeer block <folder> <name> <size> write <offset> <hexbytes>   prints "<outcome> <written>"
//   blockpeer block <folder> <name> <size> read <offset> <len>         prints "<outcome> <hexbytes>"
//   blockpeer lock <folder> [die]   prints "acquired" or "held"; with "die" it exits while holding
//                                   the lock, leaving a lock file of a dead process behind.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <platform/instancelock.h>
#include <platform/sharedblock.h>
#include <string>
#include <vector>

namespace {

using torvane::platform::OpenResult;

const char* outcomeName(OpenResult result) {
    switch (result) {
    case OpenResult::Opened:
        return "opened";
    case OpenResult::Created:
        return "created";
    case OpenResult::CreateFailed:
        return "create-failed";
    case OpenResult::MapFailed:
        return "map-failed";
    }
    return "?";
}

std::vector<std::uint8_t> fromHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string toHex(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint8_t b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 0xf];
    }
    return hex;
}

int blockMode(const std::vector<std::string>& args) {
    if (args.size() != 7)
        return 2;
    auto outcome = torvane::platform::SharedBlock::open(args[1], args[2], std::stoul(args[3]));
    std::cout << outcomeName(outcome.result);
    const std::size_t offset = std::stoul(args[5]);
    if (args[4] == "write")
        std::cout << ' ' << outcome.block.writeAndFlush(offset, fromHex(args[6])) << '\n';
    else if (args[4] == "read")
        std::cout << ' ' << toHex(outcome.block.read(offset, std::stoul(args[6]))) << '\n';
    else
        return 2;
    return 0;
}

int lockMode(const std::vector<std::string>& args) {
    if (args.size() < 2)
        return 2;
    torvane::platform::InstanceLock lock(QString::fromStdString(args[1]));
    const bool first = lock.acquire();
    std::cout << (first ? "acquired" : "held") << std::endl;
    if (args.size() > 2 && args[2] == "die")
        std::_Exit(0); // no destructors: the lock file stays as a crashed copy would leave it
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "block")
        return blockMode(args);
    if (!args.empty() && args[0] == "lock")
        return lockMode(args);
    std::cerr << "usage: blockpeer block <folder> <name> <size> write|read ... | lock <folder> [die]\n";
    return 2;
}
