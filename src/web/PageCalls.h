#pragma once

#include <cstdint>

namespace vardel {

// The program's calls into the page's script (page/page.js), which owns the document.
namespace page {

// One line of progress or state on the page's card.
void status(const char* text);
// The program cannot go on: the page shows why.
void fail(const char* text);
// Shows a 320 x 240 picture of RGBA bytes on the canvas.
void showFrame(const std::uint32_t* rgba, int width, int height);
// The part now on the canvas, kept on it for those who want to know (tests among them).
void partShown(int part);
// The demo is over (quit: the user ended it): the page offers to play it again, calling
// vardel_play_again with `context`.
void ended(bool quit, void* context);
// Check mode is over: the hash lines go into <pre id="hashes">, the speed next to them, and the
// document's title becomes "done".
void checkDone(const char* hashLines, double framesPerSecond);
// Milliseconds on the page's clock (performance.now()).
double nowMs();

} // namespace page

} // namespace vardel
