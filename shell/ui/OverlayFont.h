// The shell's texts over the frame, and the game's own font kept crisp
// when the frame is scaled.
#pragma once

class CBitmapFont;
class TextFont;

// Draws `text` centred across the playfield, its cells' bottom at `y`.
void DrawCentred(const TextFont& font, int y, const char* text);

// Scaled (fullscreen, a larger window) the game's font texture is sampled
// between texels, and its default wrap blended each cell's bottom row with
// the sheet's top row: a faint line under every letter. Clamping the rows
// removes it. At the default size every pixel samples one texel's centre,
// so the frame is the same there, GL calls and pixels alike. Call once for
// each new game's font, outside a frame.
void ClampGlyphRows(const CBitmapFont& font);
