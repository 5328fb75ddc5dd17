// The main window's layout in twips: first start, the toolbar for both
// caption choices, the restore rules, the minimum size and the saved keys.

#include "panelayout.h"
#include "twipprinting.h"

#include <QHash>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>

using namespace quarvel;

namespace {

struct Panes
{
    TwipRect tree, fileList, slideView, slideList;
};

void expectPanes(const PaneLayout &m, const Panes &p)
{
    EXPECT_EQ(m.tree, p.tree);
    EXPECT_EQ(m.fileList, p.fileList);
    EXPECT_EQ(m.slideView, p.slideView);
    EXPECT_EQ(m.slideList, p.slideList);
    EXPECT_EQ(m.picture, m.slideView) << "the metafile panel lies over the slide view";
}

// Saved keys written as in the settings file ("WinH=8000 WinMode=2"). Values
// read as the settings reader gives them: 0 when not numeric.
SavedGeometry keys(const QString &text)
{
    static const QHash<QString, double SavedGeometry::*> fields = {
        {"WinH", &SavedGeometry::winH},     {"WinW", &SavedGeometry::winW},
        {"WinSldW", &SavedGeometry::winSldW}, {"WinETH", &SavedGeometry::winETH},
        {"WinETW", &SavedGeometry::winETW}, {"WinELH", &SavedGeometry::winELH},
        {"WinELW", &SavedGeometry::winELW}};
    SavedGeometry saved;
    for (const QString &pair : text.split(' ', Qt::SkipEmptyParts)) {
        const QString key = pair.section('=', 0, 0), value = pair.section('=', 1);
        if (key == "WinMode")
            saved.winMode = value;
        else
            saved.*fields.value(key) = value.toDouble();
    }
    return saved;
}

const Panes kFirstStart{{30, 945, 3180, 4455},
                        {3270, 945, 5775, 1935},
                        {3285, 2940, 3360, 2460},
                        {6690, 2940, 2340, 2460}};

} // namespace

TEST(PaneLayout, FirstStart)
{
    const PaneLayout m = startupLayout("Use", {});
    EXPECT_EQ(m.state, WindowState::Normal);
    EXPECT_EQ(m.windowWidth, 9135);
    EXPECT_EQ(m.windowHeight, 6570);
    expectPanes(m, kFirstStart);
    EXPECT_EQ(m.pathBox, (TwipRect{40, 5430, 8990, 375}));
    EXPECT_EQ(m.buttons[ButtonNew].left, 135) << "placed from the designed tree edge";

    // Without captions the toolbar is lower and the tree longer.
    expectPanes(startupLayout("NotUse", {}), {{30, 660, 3180, 4740},
                                              {3270, 660, 5775, 2220},
                                              {3285, 2940, 3360, 2460},
                                              {6690, 2940, 2340, 2460}});
}

TEST(PaneLayout, ToolbarForBothCaptionChoices)
{
    struct Row
    {
        const char *captions;
        float height, width, wideWidth, treeTop;
    };
    const Row rows[] = {
        {"Use", 885, 885, 945, 945},
        {"NotUse", 600, 720, 780, 660},
        {"", 885, 885, 945, 945}, // anything but "NotUse" is the large size
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.captions);
        PaneLayout m = startupLayout("Use", {});
        redrawButtons(m, row.captions);
        float left = 45; // tree left 30 + 15
        for (int i = 0; i < ToolbarButtonCount; ++i) {
            const bool wide = i == ButtonExport || i == ButtonFavorites;
            EXPECT_EQ(m.buttons[i], (TwipRect{left, 0, wide ? row.wideWidth : row.width,
                                              row.height}))
                << i;
            left += m.buttons[i].width + 60;
        }
        EXPECT_EQ(m.tree.top, row.treeTop);
        EXPECT_EQ(m.fileList.top, row.treeTop);
    }
}

TEST(PaneLayout, RestoreRules)
{
    struct Row
    {
        const char *saved;
        float W, H;
        Panes panes;
    };
    const Row rows[] = {
        {"", 9135, 6570, kFirstStart},
        {"WinSldW=1000", 9135, 6570,
         {{30, 945, 3180, 4455}, {3270, 945, 5775, 1935}, {3285, 2940, 1500, 2460},
          {4830, 2940, 4200, 2460}}},
        // A wide window keeps the restored slide list; the tree takes the rest.
        {"WinH=8000 WinW=12000 WinSldW=4000 WinELW=7000", 12000, 8000,
         {{30, 945, 4820, 5885}, {4910, 945, 7000, 3365}, {4925, 4370, 4000, 2460},
          {8970, 4370, 2925, 2460}}},
        // The same panes in the minimum window: the slide list falls back to 1500.
        {"WinSldW=4000 WinELW=7000", 9135, 6570,
         {{30, 945, 3380, 4455}, {3470, 945, 5575, 1935}, {3485, 2940, 4000, 2460},
          {7530, 2940, 1500, 2460}}},
        // Tree pinned at 2500, file list W - 2740.
        {"WinSldW=6000 WinELW=7575", 9135, 6570,
         {{30, 945, 2500, 4455}, {2590, 945, 6395, 1935}, {2605, 2940, 4820, 2460},
          {7470, 2940, 1500, 2460}}},
        {"WinH=10000 WinETH=6000", 9135, 10000,
         {{30, 945, 3180, 7885}, {3270, 945, 5775, 3700}, {3285, 4705, 3360, 4125},
          {6690, 4705, 2340, 4125}}},
        // Too tall a slide row for the window: the file list is held at 1600.
        {"WinETH=6000", 9135, 6570,
         {{30, 945, 3180, 4455}, {3270, 945, 5775, 1600}, {3285, 2605, 3360, 2795},
          {6690, 2605, 2340, 2795}}},
        {"WinMode=1 WinH=300 WinW=2000", 9135, 6570, kFirstStart},
        {"WinMode=max WinH=big WinW=-5", 9135, 6570, kFirstStart},
        {"WinW=inf WinSldW=nan WinELW=nan", 9135, 6570, kFirstStart},
        // Capped so that single precision still separates the panes.
        {"WinW=1e30", 1000000, 6570,
         {{30, 945, 994045, 4455}, {994135, 945, 5775, 1935}, {994150, 2940, 3360, 2460},
          {997555, 2940, 2340, 2460}}},
        // Hand-edited pairs that would leave the slide list no width or
        // height fall back to the designed sizes.
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
}

TEST(PaneLayout, MaximizedModeIgnoresSavedSize)
{
    // Only a value rounding to 2 (halves to even) maximizes.
    const std::pair<const char *, bool> modes[] = {
        {"2", true},  {"2.0", true}, {"2.4", true}, {"1.5", true},  {"2.5", true},
        {"0", false}, {"1", false},  {"3", false},  {"3.5", false}, {"", false}};
    for (const auto &[mode, maximized] : modes) {
        SCOPED_TRACE(mode);
        const PaneLayout m =
            startupLayout("Use", keys(QString("WinH=20000 WinW=30000 WinMode=") + mode));
        EXPECT_EQ(m.state, maximized ? WindowState::Maximized : WindowState::Normal);
        EXPECT_EQ(m.windowWidth, maximized ? 9135 : 30000);
    }

    // The window's resize after maximizing lays the panes out.
    PaneLayout m = startupLayout("Use", keys("WinMode=2"));
    applyClientSize(m, WindowState::Maximized, 20000, 12000);
    EXPECT_EQ(m.windowWidth, 20120);
    EXPECT_EQ(m.windowHeight, 12690);
    EXPECT_EQ(m.tree.width, 20120 - 240 - 2340 - 3360 - 15);
}

TEST(PaneLayout, ResizingKeepsTheSlideRowAndTheMinimum)
{
    PaneLayout m = startupLayout("Use", {});
    const float clients[][2] = {{12000, 9000}, {4000, 2000}, {20000, 5900}, {10000, 15000},
                                {9100, 6000}};
    for (const auto &client : clients) {
        applyClientSize(m, WindowState::Normal, client[0], client[1]);
        EXPECT_EQ(m.windowWidth, std::max(client[0] + 120, 9135.f));
        EXPECT_EQ(m.windowHeight, std::max(client[1] + 690, 6570.f));
        EXPECT_EQ(m.slideView.width, 3360);
        EXPECT_EQ(m.slideList.width, 2340);
        EXPECT_EQ(m.slideList.height, 2460);
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

TEST(PaneLayout, ListThatRoundsItsHeightToRows)
{
    PaneLayout m = designedLayout();
    m.fitSlideListHeight = [](float h) { return std::floor(h / 195) * 195; };
    layoutToolbar(m, "Use");
    m.fileList.top = m.tree.top;
    setControlPos(m, {});
    EXPECT_EQ(m.slideList.height, 2340);
    EXPECT_EQ(m.fileList.height, 4455 - 2340 - 60) << "the file list takes the rounding";
    EXPECT_EQ(m.slideList.top, 945 + 2055 + 60);
    EXPECT_EQ(m.slideView.height, 2340);
}

TEST(PaneLayout, KeysWrittenOnCloseAndReadBack)
{
    PaneLayout m = startupLayout("Use", keys("WinH=7000 WinW=11000 WinSldW=2000"));
    const QList<QPair<QString, QString>> expected = {
        {"WinMode", "0"},   {"WinH", "7000"},   {"WinW", "11000"},  {"WinSldW", "2000"},
        {"WinETH", "4885"}, {"WinETW", "5045"}, {"WinELH", "2365"}, {"WinELW", "5775"}};
    EXPECT_EQ(windowKeysOnClose(m), expected);

    QStringList written;
    for (const auto &[key, value] : windowKeysOnClose(m))
        written << key + '=' + value;
    expectPanes(startupLayout("Use", keys(written.join(' '))),
                {m.tree, m.fileList, m.slideView, m.slideList});

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
