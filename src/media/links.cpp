#include <QFile>
#include <base/logging.h>
#include <media/links.h>

namespace torvane::media {

namespace {

// The user sees only these fixed texts; the detailed reason goes to the log for whoever
// investigates.
QString userMessageFor(platform::OpenResult result) {
    switch (result) {
    case platform::OpenResult::CreateFailed:
        return QStringLiteral("Can't create file map");
    case platform::OpenResult::MapFailed:
        return QStringLiteral("Can't create map view");
    case platform::OpenResult::Opened:
    case platform::OpenResult::Created:
        break;
    }
    return {};
}

} // namespace

platform::SharedBlock* Links::find(std::string_view name) {
    for (std::size_t i = 0; i < kLinkBlocks.size(); ++i) {
        if (kLinkBlocks[i].name == name)
            return &blocks_[i];
    }
    return nullptr;
}

void Links::writeAndFlush(platform::SharedBlock& block, std::span<const std::uint8_t> bytes) {
    const std::size_t written = block.write(0, bytes);
    if (block.isMapped() && !block.flush(0, written)) {
        const auto index = static_cast<std::size_t>(&block - blocks_.data());
        const std::string_view name =
            index < kLinkBlocks.size() ? kLinkBlocks[index].name : std::string_view("?");
        qCWarning(base::lcBlocks).noquote()
            << "Shared block" << QString::fromUtf8(name.data(), name.size()) << "written but not flushed";
    }
}

void Links::writeEndFlag(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const std::array<std::uint8_t, 4> littleEndian{
        static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
        static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    // The block is shorter than the value; the write stops at its end and only that is flushed.
    writeAndFlush(kirvoltEnd(), littleEndian);
}

void Links::clearHandOff() {
    const std::array<std::uint8_t, 255> zeros{};
    writeAndFlush(kirvoltName(), zeros);
}

void Links::closeLinks() {
    for (platform::SharedBlock& block : blocks_)
        block.close();
}

Links openLinks(const QString& folder, const MessageSink& messageSink) {
    Links links;
    const std::string nativeFolder = QFile::encodeName(folder).toStdString();
    for (std::size_t i = 0; i < kLinkBlocks.size(); ++i) {
        const BlockSpec& spec = kLinkBlocks[i];
        platform::OpenOutcome outcome =
            platform::SharedBlock::open(nativeFolder, std::string(spec.name), spec.size);
        links.blocks_[i] = std::move(outcome.block);
        const QString message = userMessageFor(outcome.result);
        if (message.isEmpty())
            continue;
        qCWarning(base::lcBlocks).noquote()
            << "Shared block" << QString::fromUtf8(spec.name.data(), spec.name.size())
            << "unavailable:" << QString::fromStdString(outcome.reason);
        if (messageSink)
            messageSink(message);
    }
    return links;
}

} // namespace torvane::media
