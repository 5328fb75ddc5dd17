// The main window's layout in twips (first start, toolbar, restore rules,
// minimum size, keys on close) and the splitter drags over it.

#include "panelayout.h"
#include "splitterdrag.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

struct Panes { TwipRect tree, fileList, slideView, slideList; };

void expectPanes(const PaneLayout &m, const Panes &p)
{
    EXPECT_EQ(m.tree, p.tree);
    EXPECT_EQ(m.fileList, p.fileList);
    EXPECT_EQ(m.slideView, p.slideView);
    EXPECT_EQ(m.slideList, p.slideList);
    EXPECT_EQ(m.picture, m.slideView) << "the metafile panel lies over the slide view";
}

// Saved keys as in the settings file ("WinH=8000 WinMode=2"); values read as
// the settings reader gives them: 0 when not numeric.
SavedGeometry keys(const QString &text)
{
    SavedGeometry s;
    double *fields[] = {&s.winH, &s.winW, &s.winSldW, &s.winETH, &s.winETW, &s.winELH, &s.winELW};
    for (const QString &pair : text.split(' ', Qt::SkipEmptyParts)) {
        const QString key = pair.section('=', 0, 0), value = pair.section('=', 1);
        if (key == "WinMode")
            s.winMode = value;
        for (int i = 1; i < 8; ++i)
            if (key == kWindowKeys[i])
                *fields[i - 1] = value.toDouble();
    }
    return s;
}

const Panes kFirstStart{{30, 945, 3180, 4455}, {3270, 945, 5775, 1935},
                        {3285, 2940, 3360, 2460}, {6690, 2940, 2340, 2460}};

} // namespace

TEST(PaneLayout, FirstStartAndToolbarForBothCaptionChoices)
{
    // The window size and panes of the first start are the first restore rule.
    const PaneLayout m = startupLayout("Use", {});
    EXPECT_EQ(m.pathBox, (TwipRect{40, 5430, 8990, 375}));
    EXPECT_EQ(m.buttons[ButtonNew].left, 135) << "placed from the designed tree edge";
    // Without captions the toolbar is lower and the tree longer.
    expectPanes(startupLayout("NotUse", {}), {{30, 660, 3180, 4740}, {3270, 660, 5775, 2220},
                                              {3285, 2940, 3360, 2460}, {6690, 2940, 2340, 2460}});

    struct Row { const char *captions; float height, width, wideWidth, treeTop; };
    // Anything but "NotUse" is the large size.
    for (const Row &row : {Row{"Use", 885, 885, 945, 945}, Row{"NotUse", 600, 720, 780, 660},
                           Row{"", 885, 885, 945, 945}}) {
        SCOPED_TRACE(row.captions);
        PaneLayout m = startupLayout("Use", {});
        redrawButtons(m, row.captions);
        float left = 45; // tree left 30 + 15
        for (int i = 0; i < ToolbarButtonCount; ++i) {
            const bool wide = i == ButtonExport || i == ButtonFavorites;
            EXPECT_EQ(m.buttons[i], (TwipRect{left, 0, wide ? row.wideWidth : row.width, row.height})) << i;
            left += m.buttons[i].width + 60;
        }
        EXPECT_EQ(m.tree.top, row.treeTop);
        EXPECT_EQ(m.fileList.top, row.treeTop);
    }
}

TEST(PaneLayout, RestoreRules)
{
    struct Row { const char *saved; float W, H; Panes panes; };
    const Row rows[] = {
        {"", 9135, 6570, kFirstStart},
        {"WinSldW=1000", 9135, 6570,
         {{30, 945, 3180, 4455}, {3270, 945, 5775, 1935}, {3285, 2940, 1500, 2460}, {4830, 2940, 4200, 2460}}},
        // A wide window keeps the restored slide list; the tree takes the rest.
        {"WinH=8000 WinW=12000 WinSldW=4000 WinELW=7000", 12000, 8000,
         {{30, 945, 4820, 5885}, {4910, 945, 7000, 3365}, {4925, 4370, 4000, 2460}, {8970, 4370, 2925, 2460}}},
        // The same panes in the minimum window: the slide list falls back to 1500.
        {"WinSldW=4000 WinELW=7000", 9135, 6570,
         {{30, 945, 3380, 4455}, {3470, 945, 5575, 1935}, {3485, 2940, 4000, 2460}, {7530, 2940, 1500, 2460}}},
        // Tree pinned at 2500, file list W - 2740.
        {"WinSldW=6000 WinELW=7575", 9135, 6570,
         {{30, 945, 2500, 4455}, {2590, 945, 6395, 1935}, {2605, 2940, 4820, 2460}, {7470, 2940, 1500, 2460}}},
        {"WinH=10000 WinETH=6000", 9135, 10000,
         {{30, 945, 3180, 7885}, {3270, 945, 5775, 3700}, {3285, 4705, 3360, 4125}, {6690, 4705, 2340, 4125}}},
        // Too tall a slide row for the window: the file list is held at 1600.
        {"WinETH=6000", 9135, 6570,
         {{30, 945, 3180, 4455}, {3270, 945, 5775, 1600}, {3285, 2605, 3360, 2795}, {6690, 2605, 2340, 2795}}},
        {"WinMode=max WinH=300 WinW=-5", 9135, 6570, kFirstStart},
        {"WinW=inf WinSldW=nan WinELW=nan", 9135, 6570, kFirstStart},
        // Capped so that single precision still separates the panes.
        {"WinW=1e30", 1000000, 6570,
         {{30, 945, 994045, 4455}, {994135, 945, 5775, 1935}, {994150, 2940, 3360, 2460},
          {997555, 2940, 2340, 2460}}},
        // Hand-edited pairs leaving the slide list no width or height fall back.
        {"WinSldW=3000 WinELW=2000", 9135, 6570, kFirstStart},
        {"WinELH=9000", 9135, 6570, kFirstStart},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.saved);
        const PaneLayout m = startupLayout("Use", keys(row.saved));
        EXPECT_EQ(m.state, WindowState::Normal);
        EXPECT_EQ(m.windowWidth, row.W);
        EXPECT_EQ(m.windowHeight, row.H);
        expectPanes(m, row.panes);
        EXPECT_EQ(m.pathBox.top, row.H - 1140);
    }

    // Only a WinMode rounding to 2 (halves to even) maximizes, ignoring the saved size.
    for (const auto &[mode, maximized] : {std::pair{"2", true}, {"2.4", true}, {"1.5", true},
                                          {"2.5", true}, {"1", false}, {"3.5", false}, {"", false}}) {
        const PaneLayout m = startupLayout("Use", keys(QString("WinH=20000 WinW=30000 WinMode=") + mode));
        EXPECT_EQ(m.state, maximized ? WindowState::Maximized : WindowState::Normal) << mode;
        EXPECT_EQ(m.windowWidth, maximized ? 9135 : 30000) << mode;
    }
}

TEST(PaneLayout, ResizingKeepsTheSlideRowAndTheMinimum)
{
    PaneLayout m = startupLayout("Use", keys("WinMode=2"));
    applyClientSize(m, WindowState::Maximized, 20000, 12000);
    EXPECT_EQ(m.windowWidth, 20120);
    EXPECT_EQ(m.windowHeight, 12690);
    EXPECT_EQ(m.tree.width, 20120 - 240 - 2340 - 3360 - 15);

    const float clients[][2] = {{12000, 9000}, {4000, 2000}, {20000, 5900}, {9100, 6000}};
    for (const auto &client : clients) {
        applyClientSize(m, WindowState::Normal, client[0], client[1]);
        EXPECT_EQ(m.windowWidth, std::max(client[0] + 120, 9135.f));
        EXPECT_EQ(m.windowHeight, std::max(client[1] + 690, 6570.f));
        EXPECT_EQ(m.slideView.width, 3360);
        EXPECT_EQ(m.slideList, (TwipRect{m.slideList.left, m.slideList.top, 2340, 2460}));
        EXPECT_EQ(m.tree.width, m.windowWidth - 240 - 2340 - 3360 - 15);
        EXPECT_EQ(m.slideList.bottom(), m.pathBox.top - 30);
    }
    applyClientSize(m, WindowState::Normal, 4000, 2000);
    expectPanes(m, kFirstStart);

    // Minimized: the size and the panes stay, only the file list follows the tree.
    const PaneLayout before = m;
    m.tree.top = 700;
    applyClientSize(m, WindowState::Minimized, 100, 100);
    EXPECT_EQ(m.windowWidth, before.windowWidth);
    EXPECT_EQ(m.fileList.top, 700);
    EXPECT_EQ(m.slideView, before.slideView);
}

TEST(PaneLayout, KeysWrittenOnCloseAndReadBack)
{
    PaneLayout m = startupLayout("Use", keys("WinH=7000 WinW=11000 WinSldW=2000"));
    const QList<QPair<QString, QString>> expected = {
        {"WinMode", "0"},   {"WinH", "7000"},   {"WinW", "11000"},  {"WinSldW", "2000"},
        {"WinETH", "4885"}, {"WinETW", "5045"}, {"WinELH", "2365"}, {"WinELW", "5775"}};
    ASSERT_EQ(windowKeysOnClose(m), expected);
    QStringList written;
    for (const auto &[key, value] : expected)
        written << key + '=' + value;
    expectPanes(startupLayout("Use", keys(written.join(' '))), {m.tree, m.fileList, m.slideView, m.slideList});
    m.state = WindowState::Maximized;
    EXPECT_EQ(windowKeysOnClose(m).first().second, "2");
}

TEST(PaneLayout, PixelsAtTheEdge)
{
    EXPECT_EQ(toPixels(kFirstStart.tree, 96), QRect(2, 63, 212, 297));
    EXPECT_EQ(pixelsToTwips(601, 96), 9015);
    EXPECT_EQ(pixelsToTwips(100, 144), 1000);
    // Converted edge by edge, touching rectangles still touch at any density.
    const TwipRect a{0, 0, 1007, 100}, b{1007, 0, 500, 100};
    for (double dpi : {96.0, 110.0, 120.0, 144.0, 0.0})
        EXPECT_EQ(toPixels(a, dpi).right() + 1, toPixels(b, dpi).left()) << dpi;
}

TEST(SplitterDrag, WorkedDrags)
{
    // Panes after the release and its layout pass.
    struct Drag { const char *what; float pressX, pressY, toX, toY; DragMode mode; TwipRect bar; Panes after; };
    const Drag drags[] = {
        {"tree divider to X 4000", 3240, 3000, 4000, 3000, DragMode::TreeDivider, {3985, 945, 60, 4455},
         {{30, 945, 3985, 4455}, {4075, 945, 4970, 1935}, {4090, 2940, 2555, 2460}, {6690, 2940, 2340, 2460}}},
        {"slide divider to X 6000", 6660, 4000, 6000, 4000, DragMode::SlideDivider, {5985, 2940, 60, 2460},
         {{30, 945, 3180, 4455}, {3270, 945, 5775, 1935}, {3285, 2940, 2710, 2460}, {6040, 2940, 2990, 2460}}},
        {"row divider up to Y 2500", 5000, 2910, 5000, 2500, DragMode::RowDivider, {3270, 2430, 5775, 60},
         {{30, 945, 3180, 4455}, {3270, 945, 5775, 1600}, {3285, 2605, 3360, 2795}, {6690, 2605, 2340, 2795}}},
    };
    for (const Drag &d : drags) {
        SCOPED_TRACE(d.what);
        PaneLayout m = startupLayout("Use", {});
        SplitterState s;
        splitterPress(s, m, true, d.pressX, d.pressY);
        EXPECT_EQ(s.mode, d.mode);
        EXPECT_TRUE(s.barVisible);
        EXPECT_EQ(s.cursor, d.mode == DragMode::RowDivider ? SplitterCursor::SizeNorthSouth : SplitterCursor::SizeWestEast);
        splitterMove(s, m, true, d.toX, d.toY);
        EXPECT_EQ(s.bar, d.bar);
        EXPECT_EQ(m.tree, kFirstStart.tree) << "panes stay put during the drag";
        EXPECT_TRUE(splitterRelease(s, m, true));
        expectPanes(m, d.after);
        EXPECT_FALSE(s.mode != DragMode::None || s.barVisible);
        EXPECT_EQ(s.cursor, SplitterCursor::Default);
    }
}

TEST(SplitterDrag, LimitsWithTheirDeadBandAndExclusiveZoneEdges)
{
    // First start: slide view 3285..6645, top 2940, bottom 5400; file list top 945.
    // Each row: press x, y; move to x, y; bar left, top.
    const float rows[][6] = {
        // tree divider: 2600 tested, 2500 set; larger side at slide view right - 1600
        {3240, 3000, 2629, 3000, 2515, 945}, {3240, 3000, 2630, 3000, 2615, 945},
        {3240, 3000, 5045, 3000, 5030, 945}, {3240, 3000, 5046, 3000, 5130, 945},
        // slide divider
        {6660, 4000, 4884, 4000, 4770, 2940}, {6660, 4000, 7446, 4000, 7530, 2940},
        // row divider: bottom limit tested 1400 and set 1500 above the slide view's bottom
        {5000, 2910, 5000, 2544, 3270, 2430}, {5000, 2910, 5000, 4000, 3270, 3985},
        {5000, 2910, 5000, 4001, 3270, 3885},
    };
    const PaneLayout m = startupLayout("Use", {});
    for (const auto &r : rows) {
        SplitterState s;
        splitterPress(s, m, true, r[0], r[1]);
        splitterMove(s, m, true, r[2], r[3]);
        EXPECT_EQ(s.bar.left, r[4]) << r[2] << "," << r[3];
        EXPECT_EQ(s.bar.top, r[5]) << r[2] << "," << r[3];
    }
    // The slide divider's drag zone starts after slide view right - 50 = 6595.
    SplitterState s;
    splitterPress(s, m, true, 6595, 4000);
    EXPECT_FALSE(s.mode != DragMode::None || s.barVisible);
    splitterPress(s, m, true, 6596, 4000);
    EXPECT_EQ(s.mode, DragMode::SlideDivider);
}

TEST(SplitterDrag, CursorsWithoutALeftDrag)
{
    constexpr auto WE = SplitterCursor::SizeWestEast, NS = SplitterCursor::SizeNorthSouth,
                   Off = SplitterCursor::Default;
    // press: of another button, else a move without the left button.
    struct Row { bool press; float x, y; SplitterCursor cursor; };
    const Row rows[] = {
        {false, 6660, 4000, WE}, // between slide view and list
        {false, 5000, 2910, NS}, // between file list and row
        {false, 3240, 3000, WE}, // between tree and file list
        {false, 5000, 2905, Off}, // on the hover zone edge
        {true, 6667, 4000, WE}, {true, 5000, 2950, NS}, {true, 3200, 3000, WE},
        {true, 6650, 4000, Off}, // a drag zone, not a press-cursor zone
        {true, 7000, 2950, Off}, // past slide view right - 100
    };
    const PaneLayout m = startupLayout("Use", {});
    for (const Row &r : rows) {
        SplitterState s;
        s.cursor = NS;
        (r.press ? splitterPress : splitterMove)(s, m, false, r.x, r.y);
        EXPECT_EQ(s.cursor, r.cursor) << r.press << " " << r.x << "," << r.y;
        EXPECT_FALSE(s.mode != DragMode::None || s.barVisible);
    }
}

TEST(SplitterDrag, AbandonedDragAppliesNothing)
{
    PaneLayout m = startupLayout("Use", {});
    SplitterState s;
    // Another button pressed during the drag hides the bar, so the later
    // left release changes nothing; so does a move without the left button.
    splitterPress(s, m, true, 3240, 3000);
    splitterMove(s, m, true, 4000, 3000);
    splitterPress(s, m, false, 4000, 3000);
    EXPECT_FALSE(splitterRelease(s, m, true));
    splitterPress(s, m, true, 3240, 3000);
    splitterMove(s, m, false, 4000, 3000);
    EXPECT_FALSE(splitterRelease(s, m, true));
    // Another button released while the bar shows: no sizes applied, but
    // the layout pass runs and the drag ends.
    splitterPress(s, m, true, 3240, 3000);
    splitterMove(s, m, true, 4000, 3000);
    EXPECT_TRUE(splitterRelease(s, m, false));
    expectPanes(m, kFirstStart);
    EXPECT_FALSE(s.mode != DragMode::None || s.barVisible);

    // Moving with the left button but no drag does nothing at all.
    s.cursor = SplitterCursor::SizeNorthSouth;
    splitterMove(s, m, true, 3240, 3000);
    EXPECT_FALSE(s.barVisible);
    EXPECT_EQ(s.cursor, SplitterCursor::SizeNorthSouth);
    splitterPaneHover(s);
    EXPECT_EQ(s.cursor, SplitterCursor::Default);
}
