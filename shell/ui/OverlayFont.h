// The font as the shell's own texts use it.
#pragma once

class CBitmapFont;

// The game's texts need only seventeen lower-case letters and the digits, so
// its font maps just those and draws anything else as a space. The shell's
// texts (the pause, the best games) need any letter: this maps every code
// the bitmap has a cell for (space to Z) and every lower-case letter to its
// capital. The game's own texts draw exactly as before.
void MapEveryGlyph(CBitmapFont& font);

// Draws `text` centred across the playfield, its cells' bottom at `y`.
void DrawCentred(CBitmapFont& font, int y, const char* text);
