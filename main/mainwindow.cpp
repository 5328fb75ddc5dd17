#include "mainwindow.h"

#include "captions.h"
#include "exportcommands.h"
#include "featuretexts.h"
#include "filelistpane.h"
#include "flatbutton.h"
#include "inifile.h"
#include "librarybrowser.h"
#include "libraryeditor.h"
#include "metafileview.h"
#include "paths.h"
#include "slidedrop.h"
#include "slidefilter.h"
#include "slidecommands.h"
#include "slideview.h"
#include "tileview.h"

#include <QMimeData>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QUndoStack>
#include <QScreen>
#include <QWindowStateChangeEvent>

static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace quarvel {

namespace {

// The area below the menu bar that the panes share; it hands its mouse
// events (the gaps between panes) and size changes to the window.
class PaneArea : public QWidget
{
public:
    explicit PaneArea(QWidget *parent)
        : QWidget(parent)
    {
        setMouseTracking(true);
    }
};

Qt::CursorShape cursorShape(SplitterCursor cursor)
{
    switch (cursor) {
    case SplitterCursor::SizeWestEast: return Qt::SizeHorCursor;
    case SplitterCursor::SizeNorthSouth: return Qt::SizeVerCursor;
    case SplitterCursor::Default: break;
    }
    return Qt::ArrowCursor;
}

const char *const kButtonIcons[ToolbarButtonCount] = {"new", "open", "save", "add", "delete",
                                                     "export-sld", "favorites", "options", "exit"};

} // namespace

MainWindow::MainWindow(AppState &state, Prompts &prompts, MainDialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , mState(state)
    , mPrompts(prompts)
    , mDialogs(dialogs)
{
    initIconResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quarvel.svg")));
    mSldPicture = QIcon(QStringLiteral(":/icons/export-sld.svg"));
    mWmfPicture = QIcon(QStringLiteral(":/icons/export-wmf.svg"));
    mLayout = designedLayout();

    buildPanes();
    mEditor = std::make_unique<LibraryEditor>(mState, mPrompts);
    mExport = std::make_unique<ExportCommands>(mState, mPrompts, mDialogs, this, mFileList, mList, mSlide);
    mFileCommands = std::make_unique<SlideCommands>(mState, mPrompts, mDialogs, *mEditor);
    mBrowser = std::make_unique<LibraryBrowser>(LibraryBrowser::Panes{mTree, mFileList, mList, mSlide, mPicture, mPathBox},
                                                mState, mPrompts, *mEditor);
    mBrowser->applyStates = [this](const CommandStates &states) { applyStates(states); };
    buildToolbar();
    buildMenus();
    connectCommands();
    buildFeatures();
    mBrowser->followOtherPrograms(this);

    // Initialisation.
    setExportFormat(ExportFormat::Sld);
    mTree->goToPath(mState.StartFolder);
    mFileList->setFolder(mState.StartFolder);
    applyStates(noLibraryStates());
    mPicture->setBackColor(mSlide->viewBackColor());
    mPicture->hide();
    applyLanguage();

    // Load: open the start file, then restore the saved layout.
    if (mState.StartFolder.isEmpty() || mState.StartFile.isEmpty()) {
        SetButtEnabled(QString(), 0);
    } else {
        selectFile(JoinPath(mState.StartFolder, mState.StartFile));
        if (mState.StartFile.right(4).toUpper() == QLatin1String(".SLB"))
            mList->setEnabled(true);
    }
    SetControlPos();
}

MainWindow::~MainWindow()
{
    // The panes are destroyed after this window's own part; what they announce
    // on the way out (a list's model is reset as the list goes) must not reach
    // a window that is no longer whole.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
    mEditor->history().disconnect(this);
}

void MainWindow::buildPanes()
{
    mPaneArea = new PaneArea(this);
    mPaneArea->installEventFilter(this);
    setCentralWidget(mPaneArea);

    mTree = new FolderTreePane(mPaneArea);
    mTree->setObjectName(QStringLiteral("ExplorerTree1"));
    mFileList = new FileListPane(mPaneArea);
    mFileList->setObjectName(QStringLiteral("ExplorerList1"));
    mList = new QListWidget(mPaneArea);
    mList->setObjectName(QStringLiteral("List1"));
    mList->setUniformItemSizes(true);   // keeps long slide lists fast
    mList->installEventFilter(this);
    mSlide = new SlideView(mPaneArea);
    mSlide->setObjectName(QStringLiteral("Slide1"));
    mSlide->setNameCodec(NameCodec(mState.NameCodePage));
    mPicture = new MetafileView(mPaneArea);
    mPicture->setObjectName(QStringLiteral("Picture1"));
    mPicture->setMouseTracking(true);
    mPicture->installEventFilter(this);
    mPathBox = new QLineEdit(mPaneArea);
    mPathBox->setObjectName(QStringLiteral("Text1"));
    mPathBox->setReadOnly(true);
    mBar = new QWidget(mPaneArea);
    mBar->setObjectName(QStringLiteral("Picture2"));
    mBar->setAutoFillBackground(true);
    QPalette barPalette = mBar->palette();
    barPalette.setColor(QPalette::Window, QColor(96, 96, 96));
    mBar->setPalette(barPalette);
    mBar->hide();
    mPaneArea->setMinimumSize(toPixels({0, 0, layout::kMinClientWidth, layout::kMinClientHeight}, dpi()).size());
}

void MainWindow::buildToolbar()
{
    for (int i = 0; i < ToolbarButtonCount; ++i) {
        auto *b = new FlatButton(mPaneArea);
        b->setObjectName(toolbarButtonName(static_cast<ToolbarButton>(i)));
        b->setPicture(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kButtonIcons[i]))),
                      QLatin1String(kButtonIcons[i]));
        mButtons[i] = b;
    }
    mButtons[ButtonExport]->setDropDown(true);
}

void MainWindow::buildMenus()
{
    const QList<MenuItemDef> &items = mainMenuItems();
    QHash<QString, QMenu *> menus;
    auto hasChildren = [&items](const QString &name) {
        return std::any_of(items.begin(), items.end(), [&](const MenuItemDef &d) { return d.parent == name; });
    };
    for (const MenuItemDef &item : items) {
        QAction *action = nullptr;
        if (hasChildren(item.name) || item.popupRoot) {
            QMenu *menu = item.popupRoot ? new QMenu(this) : nullptr;
            if (!menu) {
                menu = item.parent.isEmpty() ? menuBar()->addMenu(item.designCaption)
                                             : menus.value(item.parent)->addMenu(item.designCaption);
            }
            menu->setObjectName(item.name);
            menus.insert(item.name, menu);
            action = menu->menuAction();
            if (item.popupRoot)
                mExportPopup = menu;
        } else {
            action = menus.value(item.parent)->addAction(item.designCaption);
        }
        action->setObjectName(item.name);
        action->setText(item.designCaption);
        if (!item.shortcut.isEmpty())
            action->setShortcut(QKeySequence(item.shortcut));
        action->setEnabled(item.enabled);
        action->setVisible(item.visible);
        action->setCheckable(item.checkable);
        mActions.insert(item.name, action);
    }
}

void MainWindow::connectCommands()
{
    auto onAction = [this](const char *name, void (MainWindow::*handler)()) {
        if (QAction *a = mActions.value(QLatin1String(name)))
            connect(a, &QAction::triggered, this, handler);
    };
    auto onButton = [this](ToolbarButton b, void (MainWindow::*handler)()) {
        connect(mButtons[b], &QToolButton::clicked, this, handler);
    };
    onButton(ButtonNew, &MainWindow::commandNew);
    onButton(ButtonOpen, &MainWindow::commandOpen);
    onButton(ButtonSave, &MainWindow::commandSaveAs);
    onButton(ButtonAdd, &MainWindow::commandAdd);
    onButton(ButtonDelete, &MainWindow::commandDelete);
    onButton(ButtonExport, &MainWindow::commandExport);
    onButton(ButtonFavorites, &MainWindow::commandFavorites);
    onButton(ButtonOptions, &MainWindow::commandOptions);
    connect(mButtons[ButtonExit], &QToolButton::clicked, this, &QWidget::close);
    onAction("mnuFNew", &MainWindow::commandNew);
    onAction("mnuFOpen", &MainWindow::commandOpen);
    onAction("mnuFSaveAs", &MainWindow::commandSaveAs);
    onAction("mnuADdd", &MainWindow::commandAdd);
    onAction("mnuADelete", &MainWindow::commandDelete);
    onAction("mnuAESLD", &MainWindow::exportToSld);
    onAction("mnuAEWMF", &MainWindow::exportToWmf);
    onAction("pmnuESLD", &MainWindow::exportToSld);
    onAction("pmnuEWMF", &MainWindow::exportToWmf);
    onAction("mnuAEDXF", &MainWindow::exportToDxf);
    onAction("pmnuEDXF", &MainWindow::exportToDxf);
    onAction("mnuFFav", &MainWindow::commandFavorites);
    onAction("mnuTOptions", &MainWindow::commandOptions);
    onAction("mnuTAbout", &MainWindow::commandAbout);
    onAction("mnuVRefresh", &MainWindow::commandRefresh);
    if (QAction *exit = mActions.value(QStringLiteral("mnuFExit")))
        connect(exit, &QAction::triggered, this, &QWidget::close);
    if (QAction *en = mActions.value(QStringLiteral("mnuTLEng")))
        connect(en, &QAction::triggered, this, [this] { chooseLanguage(QStringLiteral("En")); });
    if (QAction *ru = mActions.value(QStringLiteral("mnuTLRus")))
        connect(ru, &QAction::triggered, this, [this] { chooseLanguage(QStringLiteral("Ru")); });

    connect(mButtons[ButtonExport], &FlatButton::dropDownRequested, this, [this] {
        const QRect r = mButtons[ButtonExport]->geometry();
        mExportPopup->exec(mPaneArea->mapToGlobal(QPoint(r.left(), r.bottom() + 1)));
        mButtons[ButtonExport]->reset();
    });
    connect(mList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ShowSld(mFileList->selectedPath(), mList->item(row)->text());
    });
    connect(mFileList, &FileListPane::itemSelected, this, &MainWindow::fileSelected);
    // A click on the file already open opens it again, as it is on disk now.
    connect(mFileList, &FileListPane::selectedItemClicked, this, &MainWindow::commandRefresh);
    connect(mFileList, &FileListPane::itemActivated, this, [this](const QString &path) {
        if (!QFileInfo(path).isDir())
            return;
        mTree->goToPath(path);
        mFileList->setFolder(mTree->currentFolder());
    });
    connect(mTree, &FolderTreePane::folderSelected, this, [this](const QString &folder) {
        mFileList->setFolder(folder);
        mFileList->refresh();
    });
}

// ---- Library browsing --------------------------------------------------

void MainWindow::GetSldList(const QString &strLibeName)
{
    mBrowser->GetSldList(strLibeName);
}

void MainWindow::ShowSld(const QString &strLibeName, const QString &strSldName)
{
    mBrowser->ShowSld(strLibeName, strSldName);
}

void MainWindow::fileSelected(const QString &path)
{
    mBrowser->fileSelected(path);
}

void MainWindow::SetButtEnabled(const QString &strLibeName, qint32 lngListCount)
{
    applyStates(setButtEnabled(strLibeName, lngListCount));
}

void MainWindow::applyStates(const CommandStates &states)
{
    mButtons[ButtonSave]->setEnabled(states.saveAs);
    mButtons[ButtonAdd]->setEnabled(states.addSlide);
    mButtons[ButtonDelete]->setEnabled(states.deleteSlide);
    mButtons[ButtonExport]->setEnabled(states.exportSlide);
    for (const ControlEnabled &c : controlStates(states)) {
        if (QAction *a = mActions.value(c.name))
            a->setEnabled(c.enabled);
    }
    if (states.exportPicture)
        setExportFormat(*states.exportPicture);
    mList->setEnabled(mList->count() > 1);
    // Save As is on exactly when a library or a slide is open.
    const SlideLibrary *open = states.saveAs ? mState.CurrentLibrary.get() : nullptr;
    mTitleFile = open ? open->libraryFile() : QString();
    setWindowTitle(windowTitleFor(mTitleFile));
    if (mTiles)
        mTiles->thumbnails().setLibrary(open, mSlide->viewBackColor());
    const bool library = open && open->kind() == SlideLibrary::Kind::Library;
    for (const auto &[name, on] : {std::pair{"cmnuSelectAll", library}, std::pair{"cmnuDelete", states.deleteSlide},
                                   std::pair{"cmnuRename", library}, std::pair{"cmnuExport", library},
                                   std::pair{"cmnuCopy", open != nullptr}}) {
        if (QAction *a = mActions.value(QLatin1String(name)))
            a->setEnabled(on);
    }
}

void MainWindow::setExportFormat(ExportFormat format)
{
    mExportFormat = format;
    mButtons[ButtonExport]->setPicture(format == ExportFormat::Sld ? mSldPicture : mWmfPicture,
                                       format == ExportFormat::Sld ? QStringLiteral("export-sld")
                                                                   : QStringLiteral("export-wmf"));
}

void MainWindow::selectFile(const QString &path)
{
    mFileList->setSelectedPath(path);
    fileSelected(path);
}

QString MainWindow::shownFolder() const
{
    return mFileList->folder();
}

// ---- Layout ------------------------------------------------------------

double MainWindow::dpi() const
{
    const QScreen *screen = this->screen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

float MainWindow::toTwips(int pixels) const
{
    return pixelsToTwips(pixels, dpi());
}

void MainWindow::applyLayout()
{
    const double d = dpi();
    mApplyingLayout = true;
    mTree->setGeometry(toPixels(mLayout.tree, d));
    mFileList->setGeometry(toPixels(mLayout.fileList, d));
    mSlide->setGeometry(toPixels(mLayout.slideView, d));
    mPicture->setGeometry(toPixels(mLayout.picture, d));
    placeSlideList(toPixels(mLayout.slideList, d));
    if (mTiles)
        mTiles->setGeometry(toPixels(mLayout.fileList, d));
    mPathBox->setGeometry(toPixels(mLayout.pathBox, d));
    for (int i = 0; i < ToolbarButtonCount; ++i)
        mButtons[i]->setGeometry(toPixels(mLayout.buttons[i], d));
    if (mSplitter.barVisible)
        mBar->setGeometry(toPixels(mSplitter.bar, d));
    mApplyingLayout = false;
}

void MainWindow::paneAreaResized()
{
    const WindowState state = isMinimized()   ? WindowState::Minimized
                              : isMaximized() ? WindowState::Maximized
                                              : WindowState::Normal;
    applyClientSize(mLayout, state, toTwips(mPaneArea->width()), toTwips(mPaneArea->height()));
    applyLayout();
}

void MainWindow::RedrawButtons()
{
    const bool captions = mState.ButtonCaptions == QLatin1String("Use");
    for (FlatButton *b : mButtons)
        b->setShowCaption(captions);
    redrawButtons(mLayout, mState.ButtonCaptions);
    applyLayout();
}

void MainWindow::SetControlPos()
{
    setControlPos(mLayout, readSavedGeometry(mState.SettingsFile));
    const double d = dpi();
    const QSize paneArea = toPixels({0, 0, mLayout.clientWidth(), mLayout.clientHeight()}, d).size();
    // The model's W and H are the pane area plus fixed allowances, so the
    // window is sized from its pane area, whatever frame the platform adds.
    resize(paneArea.width(), paneArea.height() + menuBar()->sizeHint().height());
    if (mLayout.state == WindowState::Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    applyLayout();
}

// ---- Language ----------------------------------------------------------

void MainWindow::chooseLanguage(const QString &languageCode)
{
    const LanguageCommand command = languageCommand(languageOf(languageCode));
    WriteIniString(mState.SettingsFile, QString::fromLatin1(kSettingsSection), QString::fromLatin1(kLangKey),
                   command.langValue);
    mState.LanguageCode = command.languageCode;
    applyLanguage();
}

void MainWindow::applyLanguage()
{
    const Language lang = languageOf(mState.LanguageCode);
    applyQtTranslations(lang == Language::Russian);
    mFileList->applyLanguage(lang);
    const LanguageMarks marks = languageMarks(lang);
    mActions.value(QStringLiteral("mnuTLEng"))->setChecked(marks.englishChecked);
    mActions.value(QStringLiteral("mnuTLRus"))->setChecked(marks.russianChecked);
    setWindowTitle(windowTitleFor(mTitleFile));
    for (const FeatureCommandDef &c : featureCommands()) {
        if (QAction *a = mActions.value(c.name))
            a->setText(featureCaption(c.name, lang));
    }
    applyFilter();
    for (const QString &name : captionedControlNames()) {
        const ControlTexts texts = controlTexts(name, lang, mState.ButtonCaptions);
        if (auto *b = mPaneArea->findChild<FlatButton *>(name)) {
            b->setCaption(texts.caption);
            b->setToolTip(texts.toolTip);
        } else if (QWidget *w = mPaneArea->findChild<QWidget *>(name)) {
            w->setToolTip(texts.toolTip);
        }
    }
    for (auto it = mActions.begin(); it != mActions.end(); ++it) {
        const QString caption = menuCaption(it.key(), lang);
        if (!caption.isEmpty())
            it.value()->setText(caption);
    }
    applyHistoryTexts();
    RedrawButtons();
}

// ---- Commands ----------------------------------------------------------

void MainWindow::commandOpen()
{
    setEnabled(false);
    mButtons[ButtonOpen]->setEnabled(false);
    const QString path = ShowOpenDialog(mState, mPrompts, [this](const ExploreRequest &r) { return mDialogs.explore(r); },
                                        shownFolder(), LibraryAndSlideFiles);
    if (!path.isEmpty())
        mBrowser->openChosen(path);
    mButtons[ButtonOpen]->setEnabled(true);
    setEnabled(true);
}

void MainWindow::commandSaveAs()
{
    if (!mState.CurrentLibrary)
        return;
    mButtons[ButtonSave]->setEnabled(false);
    mFileCommands->saveAs(mFileList->selectedPath(), shownFolder(), mList->currentRow());
    mFileList->refresh();
    mButtons[ButtonSave]->setEnabled(true);
}

void MainWindow::commandAdd()
{
    if (!mState.CurrentLibrary)
        return;
    mButtons[ButtonAdd]->setEnabled(false);
    const int before = mList->count();
    const QString library = mFileList->selectedPath();
    if (const QString path = mFileCommands->slideToAdd(library, shownFolder()); !path.isEmpty())
        mEditor->addSlide(library, path, GetShotName(path));
    SetButtEnabled(library, mList->count());
    if (mList->count() > before)
        mList->setCurrentRow(mList->count() - 1);
    mButtons[ButtonAdd]->setEnabled(true);
    mFileList->setFocus();
}

void MainWindow::commandDelete()
{
    mEditor->deleteSlides(mFileList->selectedPath(), selectedSlides());
}

void MainWindow::commandExport()
{
    if (mExportFormat == ExportFormat::Sld)
        exportToSld();
    else
        exportToWmf();
}

void MainWindow::exportToSld()
{
    setExportFormat(ExportFormat::Sld);
    mExport->exportToSld();
}

void MainWindow::exportToWmf()
{
    setExportFormat(ExportFormat::Wmf);
    mExport->exportToWmf();
}

// DXF is offered beside the button's two formats; the button keeps the one it shows.
void MainWindow::exportToDxf()
{
    mExport->exportToDxf();
}

void MainWindow::commandNew()
{
    mButtons[ButtonNew]->setEnabled(false);
    if (mFileCommands->newLibrary(shownFolder()))
        mFileList->refresh();
    mButtons[ButtonNew]->setEnabled(true);
}

void MainWindow::commandFavorites()
{
    mButtons[ButtonFavorites]->setEnabled(false);
    mState.DialogFolder = shownFolder();
    const QString folder = mDialogs.favorites();
    if (!folder.isEmpty() && FolderExists(folder)) {
        mTree->goToPath(folder);
        mFileList->setFolder(folder);
    }
    mButtons[ButtonFavorites]->setEnabled(true);
}

void MainWindow::commandOptions()
{
    mButtons[ButtonOptions]->setEnabled(false);
    const int codePage = mState.NameCodePage;
    mDialogs.options();
    if (mState.NameCodePage != codePage)
        mBrowser->codePageChanged();
    applyLanguage();
    mButtons[ButtonOptions]->setEnabled(true);
}

void MainWindow::commandAbout()
{
    mDialogs.about();
}

void MainWindow::commandRefresh()
{
    mBrowser->reopen();
}

// ---- Working on many slides ---------------------------------------------

void MainWindow::buildFeatures()
{
    mList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mFilter = new SlideFilterBar(mPaneArea);
    mFilter->setObjectName(QStringLiteral("fraFilter"));
    connect(mFilter, &SlideFilterBar::textChanged, this, &MainWindow::applyFilter);
    // Rows come and go with every library opened and every edit.
    QAbstractItemModel *names = mList->model();
    connect(names, &QAbstractItemModel::rowsInserted, this, &MainWindow::applyFilter);
    connect(names, &QAbstractItemModel::rowsRemoved, this, &MainWindow::applyFilter);
    connect(names, &QAbstractItemModel::modelReset, this, &MainWindow::applyFilter);
    connect(names, &QAbstractItemModel::dataChanged, this, &MainWindow::applyFilter);

    // The tiles show the slide list's own rows and selection.
    mTiles = new TileView(mPaneArea);
    mTiles->setObjectName(QStringLiteral("lstTiles"));
    mTiles->setModel(names);
    mTiles->setSelectionModel(mList->selectionModel());
    mTiles->hide();

    QMenu *viewMenu = menuBar()->findChild<QMenu *>(QStringLiteral("mnuView"));
    for (const FeatureCommandDef &c : featureCommands()) {
        QAction *a = c.parent.isEmpty() || !viewMenu ? new QAction(this) : viewMenu->addAction(QString());
        if (!c.parent.isEmpty() && !viewMenu)
            addAction(a);   // no View menu: the key still works
        a->setObjectName(c.name);
        if (!c.shortcut.isEmpty())
            a->setShortcut(QKeySequence(c.shortcut));
        a->setCheckable(c.checkable);
        mActions.insert(c.name, a);
    }
    auto action = [this](const char *name) { return mActions.value(QLatin1String(name)); };
    connect(action("mnuVTiles"), &QAction::toggled, this, &MainWindow::setTilesShown);
    connect(action("mnuVFilter"), &QAction::triggered, this, [this] {
        mFilter->edit()->setFocus();
        mFilter->edit()->selectAll();
    });
    connect(action("cmnuSelectAll"), &QAction::triggered, this, &MainWindow::commandSelectAll);
    connect(action("cmnuDelete"), &QAction::triggered, this, &MainWindow::commandDelete);
    connect(action("cmnuRename"), &QAction::triggered, this, &MainWindow::commandRename);
    connect(action("cmnuCopy"), &QAction::triggered, this, &MainWindow::commandCopyPicture);
    connect(action("cmnuExport"), &QAction::triggered, this, &MainWindow::commandExportSlides);

    // The context menu of both lists; its keys work where the lists (and,
    // for Copy, the slide view) have the focus.
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    buildHistory();
    auto *historySeparator = new QAction(this);
    historySeparator->setSeparator(true);
    const QList<QAction *> menu = {action("mnuAUndo"), action("mnuARedo"), historySeparator,
                                   action("cmnuSelectAll"), separator, action("cmnuDelete"),
                                   action("cmnuRename"), action("cmnuExport"), action("cmnuCopy")};
    for (QAction *a : menu.mid(3))
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    for (QWidget *w : {static_cast<QWidget *>(mList), static_cast<QWidget *>(mTiles)}) {
        w->setContextMenuPolicy(Qt::ActionsContextMenu);
        w->addActions(menu);
    }
    mSlide->addAction(action("cmnuCopy"));

    // Slide files dropped on the lists are added; selected slides dragged
    // out of them arrive as .sld files; a library or slide dropped anywhere
    // else on the window is opened.
    SlideDrop::wireLists({mList, mTiles}, this, [this](const QStringList &files) { addSlideFiles(files); },
                         [this] { return slidesAsFiles(selectedSlides()); });
    setAcceptDrops(true);
    auto *windowDrop = new SlideDrop(SlideDrop::Target::Window, this);
    installEventFilter(windowDrop);
    connect(windowDrop, &SlideDrop::dropped, this, [this](const QStringList &files) {
        mTree->goToPath(files.front());
        mFileList->setFolder(QFileInfo(files.front()).absolutePath());
        selectFile(files.front());
    });
}

void MainWindow::buildHistory()
{
    // The stack's own actions follow its state and name what they would do;
    // a click goes to the editor, which applies and saves the step before
    // the stack moves.
    QUndoStack &history = mEditor->history();
    QAction *undo = history.createUndoAction(this);
    QAction *redo = history.createRedoAction(this);
    QMenu *actions = menuBar()->findChild<QMenu *>(QStringLiteral("mnuActions"));
    QAction *first = actions ? actions->actions().value(0) : nullptr;
    for (QAction *a : {undo, redo}) {
        QObject::disconnect(a, &QAction::triggered, &history, nullptr);
        actions ? actions->insertAction(first, a) : addAction(a);
    }
    if (actions)
        actions->insertSeparator(first);
    undo->setObjectName(QStringLiteral("mnuAUndo"));
    redo->setObjectName(QStringLiteral("mnuARedo"));
    undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    connect(undo, &QAction::triggered, this, [this] { mEditor->undo(); });
    connect(redo, &QAction::triggered, this, [this] { mEditor->redo(); });
    mActions.insert(undo->objectName(), undo);
    mActions.insert(redo->objectName(), redo);
    // After the actions' own texts: the captions of the interface language.
    connect(&history, &QUndoStack::indexChanged, this, &MainWindow::applyHistoryTexts);
    connect(&history, &QUndoStack::undoTextChanged, this, &MainWindow::applyHistoryTexts);
    connect(&history, &QUndoStack::redoTextChanged, this, &MainWindow::applyHistoryTexts);
}

void MainWindow::applyHistoryTexts()
{
    const Language lang = languageOf(mState.LanguageCode);
    mActions.value(QStringLiteral("mnuAUndo"))->setText(mEditor->undoCaption(lang));
    mActions.value(QStringLiteral("mnuARedo"))->setText(mEditor->redoCaption(lang));
}

void MainWindow::addSlideFiles(const QStringList &files)
{
    mEditor->addSlideFiles(mFileList->selectedPath(), files);
}

void MainWindow::placeSlideList(const QRect &rect)
{
    if (!mFilter) {
        mList->setGeometry(rect);
        return;
    }
    // The filter box tops the slide list's rectangle; the list takes the rest.
    const int h = std::min(mFilter->sizeHint().height(), rect.height() / 2);
    mFilter->setGeometry(rect.left(), rect.top(), rect.width(), h);
    mList->setGeometry(rect.adjusted(0, h, 0, 0));
}

void MainWindow::applyFilter()
{
    if (mFilter)
        mFilter->apply({mList, mTiles}, languageOf(mState.LanguageCode) != Language::Russian);
}

void MainWindow::setTilesShown(bool shown)
{
    QAction *toggle = mActions.value(QStringLiteral("mnuVTiles"));
    if (toggle->isChecked() != shown)
        toggle->setChecked(shown);   // comes back here through toggled
    mFileList->setVisible(!shown);
    mTiles->setVisible(shown);
    if (shown && mList->currentIndex().isValid())
        mTiles->scrollTo(mList->currentIndex());
}

QList<int> MainWindow::selectedSlides() const
{
    return shownSelection(*mList);
}

void MainWindow::commandSelectAll()
{
    selectAllShown(*mList);
}

void MainWindow::commandRename()
{
    const QList<int> rows = selectedSlides();
    if (!mState.CurrentLibrary || mState.CurrentLibrary->kind() != SlideLibrary::Kind::Library || rows.isEmpty())
        return;
    mEditor->renameSlide(mFileList->selectedPath(), rows.contains(mList->currentRow()) ? mList->currentRow() : rows.front());
}

void MainWindow::commandExportSlides()
{
    mExport->exportSlides(selectedSlides());
}

std::unique_ptr<QMimeData> MainWindow::slidesAsFiles(const QList<int> &rows)
{
    return mExport->slidesAsFiles(rows);
}

void MainWindow::commandCopyPicture()
{
    mExport->copyPicture();
}

// ---- Window events -----------------------------------------------------

void MainWindow::closeEvent(QCloseEvent *event)
{
    const QString section = QString::fromLatin1(kSettingsSection);
    for (const auto &[key, value] : windowKeysOnClose(mLayout))
        WriteIniString(mState.SettingsFile, section, key, value);
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange)
        paneAreaResized();
    else if (event->type() == QEvent::ActivationChange && isActiveWindow())
        mFileList->refresh();
    QMainWindow::changeEvent(event);
}

void MainWindow::splitterMouse(QEvent *event)
{
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPointF pos = mouse->position();
    const float x = toTwips(qRound(pos.x()));
    const float y = toTwips(qRound(pos.y()));
    const bool leftOnly = mouse->buttons() == Qt::LeftButton;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        splitterPress(mSplitter, mLayout, leftOnly, x, y);
        break;
    case QEvent::MouseMove:
        splitterMove(mSplitter, mLayout, leftOnly, x, y);
        break;
    case QEvent::MouseButtonRelease:
        if (splitterRelease(mSplitter, mLayout, mouse->button() == Qt::LeftButton))
            applyLayout();
        break;
    default:
        return;
    }
    mPaneArea->setCursor(cursorShape(mSplitter.cursor));
    mBar->setVisible(mSplitter.barVisible);
    if (mSplitter.barVisible) {
        mBar->setGeometry(toPixels(mSplitter.bar, dpi()));
        mBar->raise();
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mPaneArea) {
        if (event->type() == QEvent::Resize && !mApplyingLayout)
            paneAreaResized();
        else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove
                 || event->type() == QEvent::MouseButtonRelease)
            splitterMouse(event);
    } else if ((watched == mList || watched == mPicture) && event->type() == QEvent::MouseMove
               && !(static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton)) {
        splitterPaneHover(mSplitter);
        mPaneArea->setCursor(cursorShape(mSplitter.cursor));
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace quarvel
