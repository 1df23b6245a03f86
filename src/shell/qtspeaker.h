#pragma once

#include <memory>
#include <shell/speaker.h>

namespace torvane::shell {

// The desktop's speech engine, through Qt's speech plugins: speech-dispatcher (with its espeak-ng voices)
// first, then flite, then any other plugin that is installed; the first that works is used. The engine
// is opened at the first use, not before: a viewer that never reads aloud starts no speech service.
std::unique_ptr<Speaker> makeSystemSpeaker();

} // namespace torvane::shell
