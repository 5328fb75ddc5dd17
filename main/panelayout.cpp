#include "panelayout.h"

#include "captions.h"
#include "inifile.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace quarvel {

using namespace layout;

namespace {

// The designed window. The restore step falls back to these sizes when a key
// is missing, and to the file list and slide view sizes when saved values
// would leave no room for the slide list.
constexpr float kDesignedClientWidth = 9015;
constexpr float kDesignedClientHeight = 5880;
constexpr TwipRect kDesignedTree{120, 960, 2895, 4335};
constexpr TwipRect kDesignedFileList{3120, 960, 5775, 1815};
constexpr TwipRect kDesignedSlideView{3135, 2880, 3360, 2400};
constexpr TwipRect kDesignedSlideList{6600, 2880, 2295, 2400};
constexpr TwipRect kDesignedPathBox{120, 5400, 8775, 375};

// Toolbar button sizes: with captions the buttons are square and large.
constexpr float kButtonSizeWithCaptions = 885;
constexpr float kButtonWidthNoCaptions = 720;
constexpr float kButtonHeightNoCaptions = 600;
// Export carries a drop-down arrow and Favorites a longer caption.
constexpr float kWideButtonExtra = 60;

// A length read from the settings file. Non-finite values (the reader may
// accept "inf" or "nan") count as missing; huge ones are capped so that the
// sums of the layout stay exact in single precision.
float savedLength(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<float>(std::clamp(value, double(-kMaxRestoredLength),
                                         double(kMaxRestoredLength)));
}

// File list and slide view sizes: none saved gives the current size, a
// saved size is raised to the restore minimum.
float restoredPaneSize(double saved, float current)
{
    const float value = savedLength(saved);
    if (value <= 0)
        return current;
    return std::max(value, kMinRestoredPane);
}

// WinMode is text; only a numeric value rounding to 2 means maximized.
// Rounding is to nearest with halves to even.
bool savedMaximized(const QString &winMode)
{
    const QString text = winMode.trimmed();
    if (text.isEmpty())
        return false;
    bool ok = false;
    double value = QLocale::c().toDouble(text, &ok);
    if (!ok)
        value = QLocale::system().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return false;
    return std::nearbyint(value) == 2.0;
}

QString wholeTwips(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    return QString::number(std::llround(std::clamp(value, -1e15, 1e15)));
}

} // namespace

QString toolbarButtonName(ToolbarButton button)
{
    static const char *const names[ToolbarButtonCount] = {
        "cmdFBNew", "cmdFBOpen", "cmdFBSave", "cmdFBAdd",  "cmdFBDel",
        "cmdFBExtr", "cmdFBFav", "cmdFBConf", "cmdFBExit"};
    if (button < 0 || button >= ToolbarButtonCount)
        return {};
    return QString::fromLatin1(names[button]);
}

PaneLayout designedLayout()
{
    PaneLayout m;
    m.windowWidth = kDesignedClientWidth + kFrameAllowanceWidth;
    m.windowHeight = kDesignedClientHeight + kFrameAllowanceHeight;
    m.tree = kDesignedTree;
    m.fileList = kDesignedFileList;
    m.slideView = kDesignedSlideView;
    m.slideList = kDesignedSlideList;
    m.pathBox = kDesignedPathBox;
    // The metafile panel starts just inside the slide view; every layout
    // step afterwards gives it the slide view's rectangle exactly.
    m.picture = m.slideView;
    m.picture.width -= kInnerInset;
    return m;
}

void layoutPass(PaneLayout &m)
{
    m.fileList.top = m.tree.top;
    if (m.state == WindowState::Minimized)
        return;

    if (m.windowWidth < kMinWindowWidth) {
        m.windowWidth = kMinWindowWidth;
        layoutPass(m);
    }
    if (m.windowHeight < kMinWindowHeight) {
        m.windowHeight = kMinWindowHeight;
        layoutPass(m);
    }
    m.tree.left = kTreeLeft;

    const float W = m.windowWidth;
    const float H = m.windowHeight;
    // Written as a negation so that a NaN size also stops here.
    if (!(W >= kMinWindowWidth && H >= kMinWindowHeight))
        return;

    // Horizontal split: the slide row keeps its widths and the tree takes
    // what is left, but never less than kMinTreeWidth. The slide list gives
    // way first; only then is the tree pinned.
    const float t = W - kWidthAllowance - m.slideList.width - m.slideView.width - kInnerInset;
    if (t >= kMinTreeWidth) {
        m.tree.width = t;
        m.fileList.width = W - kFileListWidthAllowance - m.tree.width;
    } else {
        m.slideList.width = kFallbackSlideListWidth;
        const float t2 =
            W - kWidthAllowance - m.slideView.width - m.slideList.width - kInnerInset;
        if (t2 < kMinTreeWidth) {
            m.tree.width = kMinTreeWidth;
            m.fileList.width = W - kWidthAllowance - m.tree.width;
        } else {
            m.tree.width = t2;
            m.fileList.width = W - kFileListWidthAllowance - m.tree.width;
        }
    }

    m.fileList.left = m.tree.left + m.tree.width + kPaneGap;
    m.slideList.left = m.fileList.left + m.fileList.width - m.slideList.width - kInnerInset;
    m.slideView.left = m.fileList.left + kInnerInset;
    m.slideView.width = m.fileList.width - m.slideList.width - (kPaneGap + kInnerInset);
    m.picture.left = m.slideView.left;
    m.picture.width = m.slideView.width;

    m.pathBox.left = m.tree.left + 10;
    m.pathBox.width = m.fileList.left + m.fileList.width - m.tree.left - 25;
    m.pathBox.top = H - kPathBoxFromBottom;

    // Vertically the slide row keeps its height and the file list takes the
    // rest, but never less than kMinFileListHeight.
    m.tree.height = m.pathBox.top - m.tree.top - kGapAbovePathBox;
    if (m.tree.height - kPaneGap - m.slideList.height >= kMinFileListHeight)
        m.fileList.height = m.tree.height - kPaneGap - m.slideList.height;
    else
        m.fileList.height = kMinFileListHeight;
    m.setSlideListHeight(m.tree.height - m.fileList.height - kPaneGap);
    m.fileList.height = m.tree.height - m.slideList.height - kPaneGap;
    m.slideList.top = m.fileList.top + m.fileList.height + kPaneGap;

    m.slideView.height = m.slideList.height;
    m.slideView.top = m.slideList.top;
    m.picture.top = m.slideView.top;
    m.picture.height = m.slideView.height;
}

void layoutToolbar(PaneLayout &m, const QString &buttonCaptions)
{
    const bool small = buttonCaptions == QLatin1String("NotUse");
    const float height = small ? kButtonHeightNoCaptions : kButtonSizeWithCaptions;
    const float width = small ? kButtonWidthNoCaptions : kButtonSizeWithCaptions;

    float left = m.tree.left + kInnerInset;
    for (int i = 0; i < ToolbarButtonCount; ++i) {
        TwipRect &button = m.buttons[i];
        button.height = height;
        button.width = (i == ButtonExport || i == ButtonFavorites) ? width + kWideButtonExtra
                                                                   : width;
        button.left = left;
        left = button.left + button.width + kPaneGap;
    }
    m.tree.top = m.buttons[ButtonNew].bottom() + kPaneGap;
}

void redrawButtons(PaneLayout &m, const QString &buttonCaptions)
{
    layoutToolbar(m, buttonCaptions);
    layoutPass(m);
}

void setControlPos(PaneLayout &m, const SavedGeometry &saved)
{
    float treeHeight = savedLength(saved.winETH);
    if (m.tree.height > treeHeight)
        treeHeight = m.tree.height;

    float treeWidth = savedLength(saved.winETW);
    if (treeWidth <= 0)
        treeWidth = m.tree.width;
    else if (treeWidth < kMinTreeWidth)
        treeWidth = kMinTreeWidth;

    float fileListHeight = restoredPaneSize(saved.winELH, m.fileList.height);
    float fileListWidth = restoredPaneSize(saved.winELW, m.fileList.width);
    float slideViewWidth = restoredPaneSize(saved.winSldW, m.slideView.width);

    // The layout pass keeps the slide list's width and height as restored,
    // so a slide list with no width or height would never recover.
    if (fileListWidth - slideViewWidth - (kPaneGap + kInnerInset) <= 0) {
        fileListWidth = kDesignedFileList.width;
        slideViewWidth = kDesignedSlideView.width;
    }
    if (treeHeight - fileListHeight - kPaneGap <= 0) {
        fileListHeight = kDesignedFileList.height;
        treeHeight = std::max(treeHeight, kDesignedTree.height);
    }

    m.tree.left = kRestoredTreeLeft;
    m.tree.top = m.buttons[ButtonNew].bottom() + kPaneGap;
    m.tree.height = treeHeight;
    m.tree.width = treeWidth;

    m.fileList.top = m.tree.top;
    // No gap here: the layout pass places the file list again.
    m.fileList.left = m.tree.left + m.tree.width;
    m.fileList.height = fileListHeight;
    m.fileList.width = fileListWidth;

    m.slideView.top = m.fileList.bottom() + kPaneGap;
    m.slideView.left = m.fileList.left + kInnerInset;
    m.slideView.height = m.tree.height - m.fileList.height - kPaneGap;
    m.slideView.width = slideViewWidth;
    m.picture = m.slideView;

    m.slideList.top = m.fileList.bottom() + kPaneGap;
    m.slideList.left = m.slideView.right() + kPaneGap;
    m.setSlideListHeight(m.slideView.height);
    m.slideList.width = m.fileList.width - m.slideView.width - (kPaneGap + kInnerInset);

    m.pathBox.left = m.tree.left;
    m.pathBox.top = m.tree.bottom() + kPaneGap;
    m.pathBox.width = m.slideView.right() - m.tree.left;

    if (savedMaximized(saved.winMode)) {
        // The size comes from the screen; the window's resize after
        // maximizing runs the layout pass.
        m.state = WindowState::Maximized;
        return;
    }
    // Both sizes are set before the one layout pass. A pass between setting
    // the height and the width would run at the old width and could give the
    // restored slide list up for the 1500 fall-back that the saved width had
    // room for.
    m.state = WindowState::Normal;
    m.windowHeight = std::max(savedLength(saved.winH), kMinWindowHeight);
    m.windowWidth = std::max(savedLength(saved.winW), kMinWindowWidth);
    layoutPass(m);
}

PaneLayout startupLayout(const QString &buttonCaptions, const SavedGeometry &saved)
{
    PaneLayout m = designedLayout();
    layoutToolbar(m, buttonCaptions);
    m.fileList.top = m.tree.top;
    setControlPos(m, saved);
    return m;
}

void applyClientSize(PaneLayout &m, WindowState state, float clientWidth, float clientHeight)
{
    m.state = state;
    if (state != WindowState::Minimized) {
        m.windowWidth = clientWidth + kFrameAllowanceWidth;
        m.windowHeight = clientHeight + kFrameAllowanceHeight;
    }
    layoutPass(m);
}

QList<QPair<QString, QString>> windowKeysOnClose(const PaneLayout &m)
{
    const double values[] = {double(static_cast<int>(m.state)),
                             m.windowHeight,
                             m.windowWidth,
                             m.slideView.width,
                             m.tree.height,
                             m.tree.width,
                             m.fileList.height,
                             m.fileList.width};
    QList<QPair<QString, QString>> keys;
    static_assert(std::size(values) == std::size(kWindowKeys));
    for (size_t i = 0; i < std::size(values); ++i)
        keys.append({QString::fromLatin1(kWindowKeys[i]), wholeTwips(values[i])});
    return keys;
}

double twipsPerPixel(double dpi)
{
    constexpr double kTwipsPerInch = 1440;
    constexpr double kDefaultDpi = 96;
    return kTwipsPerInch / (dpi > 0 ? dpi : kDefaultDpi);
}

float pixelsToTwips(int pixels, double dpi)
{
    return static_cast<float>(pixels * twipsPerPixel(dpi));
}

QRect toPixels(const TwipRect &rect, double dpi)
{
    const double perPixel = twipsPerPixel(dpi);
    const auto px = [perPixel](double twips) {
        return static_cast<int>(std::lround(twips / perPixel));
    };
    const int left = px(rect.left);
    const int top = px(rect.top);
    const int right = px(double(rect.left) + rect.width);
    const int bottom = px(double(rect.top) + rect.height);
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

SavedGeometry readSavedGeometry(const QString &settingsFile)
{
    const QString section = QString::fromLatin1(kSettingsSection);
    auto number = [&](const char *key) { return ReadIniNumber(settingsFile, section, QLatin1String(key)); };
    SavedGeometry saved;
    saved.winMode = ReadIniString(settingsFile, section, QStringLiteral("WinMode"));
    saved.winH = number("WinH");
    saved.winW = number("WinW");
    saved.winSldW = number("WinSldW");
    saved.winETH = number("WinETH");
    saved.winETW = number("WinETW");
    saved.winELH = number("WinELH");
    saved.winELW = number("WinELW");
    return saved;
}

} // namespace quarvel
