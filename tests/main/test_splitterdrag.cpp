// Dragging the dividers: the three worked drags from the first-start layout,
// the limits, the strict zone edges, the cursors, and abandoned drags.

#include "splitterdrag.h"
#include "twipprinting.h"

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

PaneLayout firstStart()
{
    return startupLayout("Use", {});
}

struct Drag
{
    const char *what;
    float pressX, pressY, toX, toY;
    DragMode mode;
    TwipRect bar;
    // After the release and its layout pass.
    TwipRect tree, fileList, slideView, slideList;
};

} // namespace

TEST(SplitterDrag, WorkedDrags)
{
    const Drag drags[] = {
        {"tree divider to X 4000", 3240, 3000, 4000, 3000, DragMode::TreeDivider,
         {3985, 945, 60, 4455},
         {30, 945, 3985, 4455}, {4075, 945, 4970, 1935}, {4090, 2940, 2555, 2460},
         {6690, 2940, 2340, 2460}},
        {"slide divider to X 6000", 6660, 4000, 6000, 4000, DragMode::SlideDivider,
         {5985, 2940, 60, 2460},
         {30, 945, 3180, 4455}, {3270, 945, 5775, 1935}, {3285, 2940, 2710, 2460},
         {6040, 2940, 2990, 2460}},
        {"row divider up to Y 2500", 5000, 2910, 5000, 2500, DragMode::RowDivider,
         {3270, 2430, 5775, 60},
         {30, 945, 3180, 4455}, {3270, 945, 5775, 1600}, {3285, 2605, 3360, 2795},
         {6690, 2605, 2340, 2795}},
    };
    for (const Drag &d : drags) {
        SCOPED_TRACE(d.what);
        PaneLayout m = firstStart();
        SplitterState s;
        splitterPress(s, m, true, d.pressX, d.pressY);
        EXPECT_EQ(s.mode, d.mode);
        EXPECT_TRUE(s.barVisible);
        EXPECT_EQ(s.cursor, d.mode == DragMode::RowDivider ? SplitterCursor::SizeNorthSouth
                                                           : SplitterCursor::SizeWestEast);
        splitterMove(s, m, true, d.toX, d.toY);
        EXPECT_EQ(s.bar, d.bar);
        EXPECT_EQ(m.tree, firstStart().tree) << "panes stay put during the drag";

        EXPECT_TRUE(splitterRelease(s, m, true));
        EXPECT_EQ(m.tree, d.tree);
        EXPECT_EQ(m.fileList, d.fileList);
        EXPECT_EQ(m.slideView, d.slideView);
        EXPECT_EQ(m.slideList, d.slideList);
        EXPECT_EQ(m.picture, m.slideView);
        EXPECT_EQ(s.mode, DragMode::None);
        EXPECT_FALSE(s.barVisible);
        EXPECT_EQ(s.cursor, SplitterCursor::Default);
    }
}

TEST(SplitterDrag, LimitsWithTheirDeadBand)
{
    // First start: tree left 30; slide view 3285..6645, top 2940, bottom
    // 5400; file list 3270..9045, top 945.
    struct Row
    {
        float pressX, pressY, toX, toY;
        float barLeft, barTop;
    };
    const Row rows[] = {
        // tree divider: 2600 tested, 2500 set; larger side at slide view right - 1600
        {3240, 3000, 2629, 3000, 2515, 945},
        {3240, 3000, 2630, 3000, 2615, 945},
        {3240, 3000, 5045, 3000, 5030, 945},
        {3240, 3000, 5046, 3000, 5130, 945},
        // slide divider
        {6660, 4000, 4884, 4000, 4770, 2940},
        {6660, 4000, 7446, 4000, 7530, 2940},
        // row divider: bottom limit tested 1400 and set 1500 above the slide
        // view's bottom
        {5000, 2910, 5000, 2544, 3270, 2430},
        {5000, 2910, 5000, 4000, 3270, 3985},
        {5000, 2910, 5000, 4001, 3270, 3885},
    };
    const PaneLayout m = firstStart();
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.toX << "," << r.toY);
        SplitterState s;
        splitterPress(s, m, true, r.pressX, r.pressY);
        splitterMove(s, m, true, r.toX, r.toY);
        EXPECT_FLOAT_EQ(s.bar.left, r.barLeft);
        EXPECT_FLOAT_EQ(s.bar.top, r.barTop);
    }
}

TEST(SplitterDrag, ZoneEdgesAreExclusive)
{
    const PaneLayout m = firstStart();
    // The slide divider's drag zone starts after slide view right - 50 = 6595.
    SplitterState s;
    splitterPress(s, m, true, 6595, 4000);
    EXPECT_EQ(s.mode, DragMode::None);
    EXPECT_FALSE(s.barVisible);
    EXPECT_EQ(s.cursor, SplitterCursor::Default);
    splitterPress(s, m, true, 6596, 4000);
    EXPECT_EQ(s.mode, DragMode::SlideDivider);
}

TEST(SplitterDrag, CursorsWithoutALeftDrag)
{
    struct Row
    {
        bool press; // press of another button, else a move without the left button
        float x, y;
        SplitterCursor cursor;
    };
    const Row rows[] = {
        {false, 6660, 4000, SplitterCursor::SizeWestEast},   // between slide view and list
        {false, 5000, 2910, SplitterCursor::SizeNorthSouth}, // between file list and row
        {false, 3240, 3000, SplitterCursor::SizeWestEast},   // between tree and file list
        {false, 5000, 2905, SplitterCursor::Default},        // on the hover zone edge
        {false, 100, 100, SplitterCursor::Default},
        {true, 6667, 4000, SplitterCursor::SizeWestEast},
        {true, 6650, 4000, SplitterCursor::Default}, // a drag zone, not a press-cursor zone
        {true, 5000, 2950, SplitterCursor::SizeNorthSouth},
        {true, 7000, 2950, SplitterCursor::Default}, // past slide view right - 100
        {true, 3200, 3000, SplitterCursor::SizeWestEast},
    };
    const PaneLayout m = firstStart();
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.press << " " << r.x << "," << r.y);
        SplitterState s;
        s.cursor = SplitterCursor::SizeNorthSouth;
        if (r.press)
            splitterPress(s, m, false, r.x, r.y);
        else
            splitterMove(s, m, false, r.x, r.y);
        EXPECT_EQ(s.cursor, r.cursor);
        EXPECT_EQ(s.mode, DragMode::None);
        EXPECT_FALSE(s.barVisible);
    }
}

TEST(SplitterDrag, AbandonedDragAppliesNothing)
{
    const PaneLayout start = firstStart();

    // Another button pressed during the drag hides the bar, so the later
    // left release changes nothing.
    PaneLayout m = start;
    SplitterState s;
    splitterPress(s, m, true, 3240, 3000);
    splitterMove(s, m, true, 4000, 3000);
    splitterPress(s, m, false, 4000, 3000);
    EXPECT_FALSE(splitterRelease(s, m, true));
    EXPECT_EQ(m.tree, start.tree);

    // A move without the left button ends the drag as well.
    splitterPress(s, m, true, 3240, 3000);
    splitterMove(s, m, false, 4000, 3000);
    EXPECT_FALSE(splitterRelease(s, m, true));
    EXPECT_EQ(m.fileList, start.fileList);

    // Another button released while the bar shows: no sizes applied, but
    // the layout pass runs and the drag ends.
    splitterPress(s, m, true, 3240, 3000);
    splitterMove(s, m, true, 4000, 3000);
    EXPECT_TRUE(splitterRelease(s, m, false));
    EXPECT_EQ(m.tree, start.tree);
    EXPECT_FALSE(s.barVisible);
    EXPECT_EQ(s.mode, DragMode::None);

    // Moving with the left button but no drag does nothing at all.
    s.cursor = SplitterCursor::SizeNorthSouth;
    splitterMove(s, m, true, 3240, 3000);
    EXPECT_FALSE(s.barVisible);
    EXPECT_EQ(s.cursor, SplitterCursor::SizeNorthSouth);
    splitterPaneHover(s);
    EXPECT_EQ(s.cursor, SplitterCursor::Default);
}
