#pragma once
// The full repaint of one text of a million characters that Qt must lay out: a Hebrew word first, then accented Latin words.

#include "WindowActions.h"

#include <cstdint>

class frmZeichnen;

namespace LongTextBench {

constexpr std::int32_t Characters = 1000000;
constexpr double RepaintTarget = 0.15; // seconds of processor time

// Places the text in the window (647 × 472 pixels as it starts) and gives the medians of `runs`
// full repaints, each as the window's own repaint draws it.
WindowActions::Timing measureRepaint(frmZeichnen &window, int runs);

} // namespace LongTextBench
