#pragma once

// Pane layout of the main window, as a model in twips.
//
// Every length is in twips (1/1440 inch; 15 twips a pixel at 96 dpi) and
// held in single precision, which is how the layout rules were tuned: each
// comparison is made on the float value. The window keeps one PaneLayout,
// runs these functions on it and converts the rectangles to pixels at its
// edge (toPixels), so every rule stays checkable without widgets.
//
// W and H are the window's outer size as the rules see it. They are never
// taken from a toolkit frame (frames differ between platforms and there is
// none offscreen): they are the pane area (below the menu bar) plus the
// allowances of the designed window, 120 across and 690 down, so the
// designed outer 9135 x 6570 encloses a pane area of 9015 x 5880. The saved
// keys mean the same on every platform that way.

#include <QList>
#include <QPair>
#include <QRect>
#include <QString>

#include <array>
#include <functional>

namespace quarvel {

struct TwipRect
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    float right() const { return left + width; }
    float bottom() const { return top + height; }
    friend bool operator==(const TwipRect &, const TwipRect &) = default;
};

// Numeric values are the ones written to WinMode.
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// The nine toolbar buttons, left to right.
enum ToolbarButton {
    ButtonNew,
    ButtonOpen,
    ButtonSave,
    ButtonAdd,
    ButtonDelete,
    ButtonExport,
    ButtonFavorites,
    ButtonOptions,
    ButtonExit,
    ToolbarButtonCount
};

// Control name of a toolbar button ("cmdFBNew" ... "cmdFBExit").
QString toolbarButtonName(ToolbarButton button);

namespace layout {
inline constexpr float kMinWindowWidth = 9135;
inline constexpr float kMinWindowHeight = 6570;
// Outer size minus pane area of the designed window (frame, caption, menu bar).
inline constexpr float kFrameAllowanceWidth = 120;
inline constexpr float kFrameAllowanceHeight = 690;
// The smallest pane area, 9015 x 5880: the window's own minimum size.
inline constexpr float kMinClientWidth = kMinWindowWidth - kFrameAllowanceWidth;
inline constexpr float kMinClientHeight = kMinWindowHeight - kFrameAllowanceHeight;
inline constexpr float kTreeLeft = 30;
inline constexpr float kWidthAllowance = 240;
inline constexpr float kFileListWidthAllowance = 180;
inline constexpr float kPaneGap = 60;
inline constexpr float kInnerInset = 15;
inline constexpr float kMinTreeWidth = 2500;
inline constexpr float kFallbackSlideListWidth = 1500;
inline constexpr float kMinFileListHeight = 1600;
inline constexpr float kPathBoxFromBottom = 1140;
inline constexpr float kGapAbovePathBox = 30;
// Restore step: smallest file list and slide view sizes taken from the keys,
// and where the tree is put before the layout pass moves it to kTreeLeft.
inline constexpr float kMinRestoredPane = 1500;
inline constexpr float kRestoredTreeLeft = 60;
// Saved lengths above this are taken as this: far beyond any screen, and
// small enough that single-precision sums of lengths stay exact.
inline constexpr float kMaxRestoredLength = 1000000;
} // namespace layout

struct PaneLayout
{
    float windowWidth = layout::kMinWindowWidth;   // W, outer
    float windowHeight = layout::kMinWindowHeight; // H, outer
    WindowState state = WindowState::Normal;

    TwipRect tree;      // ExplorerTree1
    TwipRect fileList;  // ExplorerList1
    TwipRect slideView; // Slide1
    TwipRect picture;   // Picture1, lies over the slide view
    TwipRect slideList; // List1
    TwipRect pathBox;   // Text1, its height never changes
    std::array<TwipRect, ToolbarButtonCount> buttons{};

    // A list box may round a height it is given to whole rows. Every height
    // set on the slide list goes through this, and the rules read the result
    // back. Empty means the list keeps the height it is given.
    std::function<float(float requested)> fitSlideListHeight;

    void setSlideListHeight(float height)
    {
        slideList.height = fitSlideListHeight ? fitSlideListHeight(height) : height;
    }

    float clientWidth() const { return windowWidth - layout::kFrameAllowanceWidth; }
    float clientHeight() const { return windowHeight - layout::kFrameAllowanceHeight; }
};

// The window as designed: pane area 9015 x 5880 and the designed pane
// rectangles, which are also the fall-backs of the restore step. Toolbar
// buttons are placed by layoutToolbar.
PaneLayout designedLayout();

// The layout pass, run on every size change of the window and by
// redrawButtons, setControlPos and the splitter release. Setting the window
// to its minimum size counts as a size change and runs a nested pass first,
// as the window's own resize notification would.
void layoutPass(PaneLayout &layout);

// Toolbar steps only: button sizes for the caption choice ("NotUse" gives
// the small buttons, any other value the large ones), buttons chained from
// the tree's left edge, the tree put under the toolbar. No layout pass.
void layoutToolbar(PaneLayout &layout, const QString &buttonCaptions);

// layoutToolbar followed by the layout pass.
void redrawButtons(PaneLayout &layout, const QString &buttonCaptions);

// Values of the eight window keys as read at start: sizes as ReadIniNumber
// gives them (0 when missing or not numeric), WinMode as text.
struct SavedGeometry
{
    QString winMode;
    double winH = 0;
    double winW = 0;
    double winSldW = 0;
    double winETH = 0;
    double winETW = 0;
    double winELH = 0;
    double winELW = 0;
};

// Key names, in the order they are written on close.
inline constexpr const char *kWindowKeys[] = {"WinMode", "WinH",   "WinW",   "WinSldW",
                                              "WinETH",  "WinETW", "WinELH", "WinELW"};

// Restores the panes and the window from the saved keys (called once, when
// the window has loaded). A saved WinMode of 2 leaves layout.state Maximized
// and the window size untouched: the window then maximizes itself and its
// resize runs the layout pass through applyClientSize. Any other mode gives a
// normal window of the saved size, raised to the minimum, laid out.
//
// A hand-edited file can ask for a slide list of zero or negative width
// (WinELW - WinSldW - 75) or height (tree height - WinELH - 60); the layout
// would then stay broken, so those fall back to the designed file list and
// slide view sizes. Non-finite values count as missing.
void setControlPos(PaneLayout &layout, const SavedGeometry &saved);
// The window keys of the Settings section of settingsFile.
SavedGeometry readSavedGeometry(const QString &settingsFile);

// The whole start-up sequence of the layout: the designed window, the
// toolbar laid out for the caption choice, then the restore step. The caption
// setters run before the window has a size, so their layout pass sizes no
// pane (the file list only follows the tree's top) and the restore step falls
// back to the designed pane sizes. The toolbar keeps the place it was given
// from the designed tree edge (first button at 135) until the next
// redrawButtons.
PaneLayout startupLayout(const QString &buttonCaptions, const SavedGeometry &saved);

// A size or state change of the window, from the pane area's size in twips.
// A minimized window keeps its last size (only the file list top follows).
void applyClientSize(PaneLayout &layout, WindowState state, float clientWidth,
                     float clientHeight);

// The eight keys written on close, in order, as whole twips.
QList<QPair<QString, QString>> windowKeysOnClose(const PaneLayout &layout);

// Twips <-> pixels at a given density (dots per inch). Rectangles are
// converted edge by edge, so panes that touch in twips touch in pixels.
double twipsPerPixel(double dpi);
float pixelsToTwips(int pixels, double dpi);
QRect toPixels(const TwipRect &rect, double dpi);

} // namespace quarvel
