#include "splitterdrag.h"

namespace quarvel {

namespace {

constexpr float kHalfBar = kSplitterBarThickness / 2;
// The bar is placed a quarter of its thickness before the pointer.
constexpr float kBarOffset = kSplitterBarThickness / 4;
// Distance between the bar's centre line and the pane after it.
constexpr float kPaneAfterBar = 30;

SplitterCursor cursorFor(DragMode divider)
{
    switch (divider) {
    case DragMode::SlideDivider:
    case DragMode::TreeDivider:
        return SplitterCursor::SizeWestEast;
    case DragMode::RowDivider:
        return SplitterCursor::SizeNorthSouth;
    case DragMode::None:
        break;
    }
    return SplitterCursor::Default;
}

DragMode zoneAt(const std::array<SplitterZone, 3> &zones, float x, float y)
{
    for (const SplitterZone &zone : zones) {
        if (zone.contains(x, y))
            return zone.divider;
    }
    return DragMode::None;
}

// The bar at pointer position (x, y) for a divider: along the pane pair it
// divides, across at the pointer.
TwipRect barAt(const PaneLayout &m, DragMode divider, float x, float y)
{
    switch (divider) {
    case DragMode::SlideDivider:
        return {x - kBarOffset, m.slideView.top, kSplitterBarThickness, m.slideView.height};
    case DragMode::RowDivider:
        return {m.fileList.left, y - kBarOffset, m.fileList.width, kSplitterBarThickness};
    case DragMode::TreeDivider:
        return {x - kBarOffset, m.tree.top, kSplitterBarThickness, m.tree.height};
    case DragMode::None:
        break;
    }
    return {};
}

// The smaller-side limit first, then the larger-side one against the value
// the first may have changed. Each limit is tested a little inside the
// value it sets.
float limited(float value, float lowTest, float lowSet, float highTest, float highSet)
{
    if (value < lowTest)
        value = lowSet;
    if (value > highTest)
        value = highSet;
    return value;
}

void endDrag(SplitterState &state)
{
    state.mode = DragMode::None;
    state.barVisible = false;
}

void copySlideViewToPicture(PaneLayout &m)
{
    m.picture = m.slideView;
}

} // namespace

std::array<SplitterZone, 3> dragZones(const PaneLayout &m)
{
    const TwipRect &sv = m.slideView, &sl = m.slideList, &fl = m.fileList, &tr = m.tree;
    return {{
        {DragMode::SlideDivider, sv.right() - 50, sl.left + 50, sl.top + 100, sl.bottom() - 100},
        {DragMode::RowDivider, fl.left + 100, fl.right() - 100, fl.bottom() - 50, sl.top + 50},
        {DragMode::TreeDivider, tr.right() - 50, sv.left + 50, tr.top + 100, tr.bottom() - 100},
    }};
}

std::array<SplitterZone, 3> otherButtonZones(const PaneLayout &m)
{
    const TwipRect &sv = m.slideView, &sl = m.slideList, &fl = m.fileList, &tr = m.tree;
    return {{
        {DragMode::SlideDivider, sv.right() + 10, sl.left - 10, sl.top + 100, sl.bottom() - 100},
        {DragMode::RowDivider, fl.left + 100, sv.right() - 100, fl.bottom() + 30, sl.top + 50},
        {DragMode::TreeDivider, tr.right() - 50, sv.left + 50, tr.top + 100, tr.bottom() - 100},
    }};
}

std::array<SplitterZone, 3> hoverZones(const PaneLayout &m)
{
    const TwipRect &sv = m.slideView, &sl = m.slideList, &fl = m.fileList, &tr = m.tree;
    return {{
        {DragMode::SlideDivider, sv.right(), sl.left, sl.top + 50, sl.bottom() - 50},
        {DragMode::RowDivider, fl.left + 50, fl.right() - 50, fl.bottom() + 25, sl.top - 25},
        {DragMode::TreeDivider, tr.right() + 20, fl.left - 20, tr.top + 50, tr.bottom() - 50},
    }};
}

void splitterPress(SplitterState &state, const PaneLayout &m, bool leftOnly, float x, float y)
{
    if (leftOnly) {
        const DragMode divider = zoneAt(dragZones(m), x, y);
        if (divider == DragMode::None)
            return;
        state.cursor = cursorFor(divider);
        state.bar = barAt(m, divider, x, y);
        state.barVisible = true;
        state.mode = divider;
        return;
    }
    endDrag(state);
    state.cursor = cursorFor(zoneAt(otherButtonZones(m), x, y));
}

void splitterMove(SplitterState &state, const PaneLayout &m, bool leftOnly, float x, float y)
{
    if (!leftOnly) {
        endDrag(state);
        state.cursor = cursorFor(zoneAt(hoverZones(m), x, y));
        return;
    }

    // The limits keep about 1500 of each pane beside the bar (2500 of the
    // tree); the row divider's bottom limit is tested at 1400, not 1600.
    const TwipRect &sv = m.slideView, &fl = m.fileList, &tr = m.tree;
    switch (state.mode) {
    case DragMode::SlideDivider:
        x = limited(x, sv.left + 1600, sv.left + 1500, fl.right() - 1600, fl.right() - 1500);
        break;
    case DragMode::RowDivider:
        y = limited(y, fl.top + 1600, fl.top + 1500, sv.bottom() - 1400, sv.bottom() - 1500);
        break;
    case DragMode::TreeDivider:
        x = limited(x, tr.left + 2600, tr.left + 2500, sv.right() - 1600, sv.right() - 1500);
        break;
    case DragMode::None:
        return;
    }
    state.cursor = cursorFor(state.mode);
    state.bar = barAt(m, state.mode, x, y);
    state.barVisible = true;
}

bool splitterRelease(SplitterState &state, PaneLayout &m, bool leftButton)
{
    if (!state.barVisible)
        return false;

    if (leftButton) {
        const TwipRect &bar = state.bar;
        const float W = m.windowWidth;
        switch (state.mode) {
        case DragMode::SlideDivider:
            m.slideList.width = W - (bar.left + bar.width / 2 + kPaneAfterBar) - 100;
            m.slideList.left = m.fileList.right() - m.slideList.width - 15;
            m.fileList.width = W - 180 - m.tree.width;
            m.fileList.left = m.tree.right() + 60;
            m.slideView.left = m.fileList.left + 15;
            m.slideView.width = m.fileList.width - m.slideList.width - 75;
            copySlideViewToPicture(m);
            break;
        case DragMode::RowDivider:
            m.slideList.top = bar.top + bar.height / 2 + kPaneAfterBar;
            m.setSlideListHeight(m.pathBox.top - m.slideList.top - 60);
            m.slideList.top = m.pathBox.top - m.slideList.height - 60;
            m.fileList.height = (m.slideList.top - 60) - m.fileList.top;
            m.slideView.top = m.slideList.top;
            m.slideView.height = m.slideList.height;
            copySlideViewToPicture(m);
            break;
        case DragMode::TreeDivider:
            m.fileList.left = bar.left + bar.width / 2 + kPaneAfterBar;
            m.fileList.width = W - m.fileList.left - 120;
            m.tree.width = (m.fileList.left - 60) - m.tree.left;
            m.slideView.left = m.fileList.left + 15;
            m.slideView.width = m.fileList.width - m.slideList.width - 75;
            copySlideViewToPicture(m);
            break;
        case DragMode::None:
            state.cursor = SplitterCursor::Default;
            endDrag(state);
            break;
        }
    }

    layoutPass(m);
    state.cursor = SplitterCursor::Default;
    endDrag(state);
    return true;
}

void splitterPaneHover(SplitterState &state)
{
    state.cursor = SplitterCursor::Default;
}

} // namespace quarvel
