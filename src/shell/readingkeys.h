#pragma once

namespace torvane::shell {

// The keys of the reading aids, on top of the course window's own keys (which keep their meaning).
enum class ReadingCommand {
    None,
    TextBigger,   // Ctrl+Plus, Ctrl+=, Ctrl+Shift+Plus while nothing is read aloud
    TextSmaller,  // Ctrl+Minus, Ctrl+Shift+Minus while nothing is read aloud
    TextNormal,   // Ctrl+0
    Find,         // Ctrl+F
    FindNext,     // F3
    FindPrevious, // Shift+F3
    ReadAloud,    // Ctrl+Shift+S: read, pause, resume
    ReadFaster,   // Ctrl+Shift+Plus while reading aloud
    ReadSlower,   // Ctrl+Shift+Minus while reading aloud
    DarkMode,     // Ctrl+Shift+D
    KeysPanel,    // F1
    SwitchFocus,  // F6: between the toolbar row and the page
};

// What the Qt key `qtKey` with the modifiers `qtModifiers` does; `readingAloud` while a page is read
// aloud (or paused). A key with Alt held is no reading key: Alt belongs to the toolbar's access keys.
ReadingCommand decideReadingKey(int qtKey, int qtModifiers, bool readingAloud);

} // namespace torvane::shell
