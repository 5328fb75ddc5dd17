#pragma once

// The program's own dialogs behind the main window's MainDialogs interface:
// the file dialog frmExplore and the favourites dialog. The options dialog,
// the about box and the new-library builder live elsewhere and are handed
// in as hooks, so this library needs none of them.

#include "appstate.h"
#include "maindialogs.h"
#include "prompts.h"

#include <functional>
#include <memory>

class QWidget;

namespace quarvel {

class ProgramDialogs : public MainDialogs
{
public:
    struct Hooks
    {
        std::function<void()> options;
        std::function<void()> about;
        std::function<std::unique_ptr<SlideLibrary>(const QString &startFolder)> newLibrary;
    };

    // parent: the window the dialogs are shown over; the main window is made
    // after its dialogs, so it can also be set later.
    ProgramDialogs(AppState &state, Prompts &prompts, QWidget *parent = nullptr, Hooks hooks = {});
    void setParent(QWidget *parent) { mParent = parent; }

    // frmExplore set up from the request in the drivers' order (FileTypes,
    // CurrentDir, FileName in save mode, Operation), shown modally; its
    // FileName, or empty when cancelled or when the file type code has no
    // entries.
    QString explore(const ExploreRequest &request) override;
    // ShowFavorites.
    QString favorites() override;
    // The hooks; without one, options and about do nothing and newLibrary
    // gives no library.
    void options() override;
    void about() override;
    std::unique_ptr<SlideLibrary> newLibrary(const QString &startFolder) override;
    // frmExport, in the interface language, its folder button asking
    // through ShowFolderPicker.
    std::optional<ExportChoice> exportChoice(const ExportOffer &offer) override;

private:
    AppState &mState;
    Prompts &mPrompts;
    QWidget *mParent;
    Hooks mHooks;
};

} // namespace quarvel
