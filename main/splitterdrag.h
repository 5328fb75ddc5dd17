#pragma once

// Dragging the three dividers between the main window's panes.
//
// The window hands every press, move and release on its own background to
// these functions, with the position in twips in pane-area coordinates, and
// then shows SplitterState: the cursor, and the bar (Picture2) at `bar` when
// barVisible. A press that starts a drag sets `mode`; the window must keep
// delivering moves and the release until the button goes up, also over the
// panes or outside the window (Qt's implicit grab of the pressed widget does
// this). While a drag runs the panes stay put; the release resizes them and
// runs the layout pass, which derives the rest.
//
// Comparisons with the zone edges are strict, so a press exactly on an edge
// starts nothing.

#include "panelayout.h"

#include <array>

namespace quarvel {

enum class DragMode { None = 0, SlideDivider = 1, RowDivider = 2, TreeDivider = 3 };

enum class SplitterCursor { Default, SizeWestEast, SizeNorthSouth };

struct SplitterState
{
    DragMode mode = DragMode::None;
    TwipRect bar; // Picture2
    bool barVisible = false;
    SplitterCursor cursor = SplitterCursor::Default;
};

inline constexpr float kSplitterBarThickness = 60;

// A divider zone: the divider it belongs to and its open bounds.
struct SplitterZone
{
    DragMode divider = DragMode::None;
    float minX = 0;
    float maxX = 0;
    float minY = 0;
    float maxY = 0;

    bool contains(float x, float y) const { return minX < x && x < maxX && minY < y && y < maxY; }
};

// The three zone sets, each in test order (slide, row, tree divider): where
// a left press starts a drag, where another button's press shows a resize
// cursor, and where hovering shows one.
std::array<SplitterZone, 3> dragZones(const PaneLayout &layout);
std::array<SplitterZone, 3> otherButtonZones(const PaneLayout &layout);
std::array<SplitterZone, 3> hoverZones(const PaneLayout &layout);

// leftOnly: the button state is the left button alone.
void splitterPress(SplitterState &state, const PaneLayout &layout, bool leftOnly, float x,
                   float y);
void splitterMove(SplitterState &state, const PaneLayout &layout, bool leftOnly, float x,
                  float y);

// leftButton: the released button is the left one. Returns true when the
// layout pass ran, that is when the window must apply the panes again.
bool splitterRelease(SplitterState &state, PaneLayout &layout, bool leftButton);

// A move without the left button over the slide list or the metafile panel:
// those panes only reset the window's cursor.
void splitterPaneHover(SplitterState &state);

} // namespace quarvel
