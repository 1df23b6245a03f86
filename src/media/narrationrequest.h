#pragma once

#include <QString>
#include <cstdint>
#include <span>

namespace torvane::media {

// What a narration request block asks for.
enum class NarrationKind {
    None,    // nothing is waiting (the first byte is zero, or the block is empty)
    Stop,    // "v0000": stop whatever video or narration is running
    Play,    // play the clip named in `clip`
    Refused, // something is waiting, but its name cannot be put into an address safely
};

struct NarrationRequest final {
    NarrationKind kind = NarrationKind::None;
    // The decoded, trimmed name; also set for Refused so callers can tell what was refused.
    QString clip;
};

// The name the tools write to stop narration and video.
inline constexpr char16_t kStopClip[] = u"v0000";

// Decodes the "TRVwav" block the tools fill. The block is text of two bytes per character
// (UTF-16 little-endian, an odd last byte ignored), cut at its first U+0000 and trimmed of
// spaces. Only names made of ASCII letters, digits, '_', '-' and '.' (and no "..") are played: the
// name ends up inside a course address, so nothing may change the folder or the scheme.
NarrationRequest decodeNarrationRequest(std::span<const std::uint8_t> block);

// The address of a narration clip: the course folder, "d" with the clip's second and third
// characters, then the clip itself as a WAV file ("v0312" -> "<fileLocn>d03/v0312.wav").
QString narrationClipAddress(const QString& fileLocn, const QString& clip);

} // namespace torvane::media
