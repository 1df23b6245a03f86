#include <gtest/gtest.h>
#include <media/narrationrequest.h>
#include <string>
#include <vector>

namespace torvane::media {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kBlockSize = 255;

// A block as a tool writes it: `text` as UTF-16LE from the start, the rest of its 127 characters
// `pad`, the odd last byte zero.
Bytes block(const std::u16string& text, char16_t pad = u'\0') {
    Bytes bytes(kBlockSize, 0);
    for (std::size_t i = 0; 2 * i + 1 < kBlockSize; ++i) {
        const char16_t unit = i < text.size() ? text[i] : pad;
        bytes[2 * i] = static_cast<std::uint8_t>(unit & 0xff);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(unit >> 8);
    }
    return bytes;
}

struct DecodeCase {
    const char* what;
    Bytes bytes;
    NarrationKind kind;
    QString clip;
};

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, KindAndClip) {
    const DecodeCase& c = GetParam();
    const NarrationRequest request = decodeNarrationRequest(c.bytes);
    EXPECT_EQ(request.kind, c.kind) << c.what;
    if (c.kind != NarrationKind::None) {
        EXPECT_EQ(request.clip, c.clip) << c.what;
    }
}

Bytes withFirstByteZero() {
    Bytes bytes = block(u"v0312");
    bytes[0] = 0;
    return bytes;
}

// The ASCII form of 'v' is 0x76; a last odd byte that would pair into a character if it were read.
Bytes withOddLastByte() {
    Bytes bytes = block(std::u16string(127, u'a'));
    bytes[254] = 'b';
    return bytes;
}

// Characters a tool may write whose low byte is harmless ASCII; read as one byte each they would pass.
const std::u16string kNonAsciiName{u'v', u'\u0130', u'1', u'2'};

INSTANTIATE_TEST_SUITE_P(
    Blocks, DecodeTest,
    ::testing::Values(
        DecodeCase{"zero padded", block(u"v0312"), NarrationKind::Play, "v0312"},
        DecodeCase{"space padded", block(u"v0312", u' '), NarrationKind::Play, "v0312"},
        DecodeCase{"leading spaces", block(u"   v0105"), NarrationKind::Play, "v0105"},
        DecodeCase{"stop request", block(u"v0000"), NarrationKind::Stop, "v0000"},
        DecodeCase{"stop request between spaces", block(u"  v0000  "), NarrationKind::Stop, "v0000"},
        DecodeCase{"first byte zero", withFirstByteZero(), NarrationKind::None, ""},
        DecodeCase{"empty block", Bytes{}, NarrationKind::None, ""},
        DecodeCase{"full name, odd last byte ignored", withOddLastByte(), NarrationKind::Play,
                   QString(127, u'a')},
        DecodeCase{"cut at the first NUL", block(std::u16string(u"v01\0../x", 8)), NarrationKind::Play,
                   "v01"},
        DecodeCase{"only spaces", block(u"     "), NarrationKind::Refused, ""},
        DecodeCase{"tab is not padding", block(u"v0312\t"), NarrationKind::Refused, "v0312\t"},
        DecodeCase{"climbs out", block(u"../x"), NarrationKind::Refused, "../x"},
        DecodeCase{"names a folder", block(u"d01/v0101"), NarrationKind::Refused, "d01/v0101"},
        DecodeCase{"names a scheme", block(u"http:x"), NarrationKind::Refused, "http:x"},
        DecodeCase{"escaped slash", block(u"v03%2f"), NarrationKind::Refused, "v03%2f"},
        DecodeCase{"backslash", block(u"a\\b"), NarrationKind::Refused, "a\\b"},
        DecodeCase{"query", block(u"v0312?x"), NarrationKind::Refused, "v0312?x"},
        DecodeCase{"fragment", block(u"v0312#x"), NarrationKind::Refused, "v0312#x"},
        DecodeCase{"two dots inside", block(u"v03..12"), NarrationKind::Refused, "v03..12"},
        DecodeCase{"control character",
                   block(u"v03\x01"
                         u"12"),
                   NarrationKind::Refused,
                   "v03\x01"
                   "12"},
        DecodeCase{"non-ASCII letter", block(kNonAsciiName), NarrationKind::Refused,
                   QString::fromStdU16String(kNonAsciiName)},
        DecodeCase{"allowed punctuation", block(u"clip_01-a.b"), NarrationKind::Play, "clip_01-a.b"},
        DecodeCase{"stop needs the exact name", block(u"v00000"), NarrationKind::Play, "v00000"}));

TEST(NarrationClipAddress, FolderFromTheClipsSecondAndThirdCharacters) {
    const QString course = QStringLiteral("torvane://course/trv_cbt/trv2/");
    const std::pair<const char*, const char*> cases[] = {
        {"v0312", "torvane://course/trv_cbt/trv2/d03/v0312.wav"},
        {"v2401", "torvane://course/trv_cbt/trv2/d24/v2401.wav"},
        {"v1", "torvane://course/trv_cbt/trv2/d1/v1.wav"},
        {"v", "torvane://course/trv_cbt/trv2/d/v.wav"},
    };
    for (const auto& [clip, address] : cases) {
        EXPECT_EQ(narrationClipAddress(course, QLatin1String(clip)), QLatin1String(address)) << clip;
    }
}

} // namespace
} // namespace torvane::media
