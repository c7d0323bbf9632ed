// The game's own prompt on its game-over screen, replaced where it would
// mislead: in a replay, Space starts nothing.
#pragma once

class TextFont;

// Covers the game's "press space bar for continue" line in the back buffer
// with black and writes `text` centred in its place. The game's frame is
// left as it draws it; only the shell's texts go over it.
void ReplaceContinuePrompt(const TextFont& font, const char* text);
