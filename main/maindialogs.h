#pragma once

// The dialogs the main window's commands open, behind one interface so that
// tests can script them, and the two drivers through which every command asks
// for a file name.

#include "appstate.h"
#include "prompts.h"
#include "slideexport.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace quarvel {

// File type codes of the file dialog.
enum FileTypes { LibraryFiles = 1, SlideFiles = 2, LibraryAndSlideFiles = 3, MetafileFiles = 5, DxfFiles = 6 };

// One showing of the file dialog: what it is set up with, and the name it
// returns (empty when cancelled).
struct ExploreRequest
{
    int fileTypes = LibraryAndSlideFiles;
    QString currentDir;
    QString fileName;
    int operation = 0;   // 0 open, 1 save
};
using ExploreDialog = std::function<QString(const ExploreRequest &)>;

// ShowOpenDialog: an existing file chosen in open mode, or empty on cancel. A
// name that does not exist is reported and the dialog shown again.
QString ShowOpenDialog(AppState &state, Prompts &prompts, const ExploreDialog &dialog,
                       const QString &folder, int fileTypes);
// ShowSaveDialog: the path chosen in save mode, or empty on cancel.
QString ShowSaveDialog(AppState &state, const ExploreDialog &dialog, const QString &folder,
                       const QString &fileName, int fileTypes);

class MainDialogs
{
public:
    virtual ~MainDialogs() = default;

    // The file dialog; the drivers above run it.
    virtual QString explore(const ExploreRequest &request) = 0;
    // The favourite folders; the chosen folder or empty.
    virtual QString favorites() = 0;
    // The options dialog; the caller re-applies captions afterwards.
    virtual void options() = 0;
    virtual void about() = 0;
    // The new-library builder: the library built, or none when cancelled.
    virtual std::unique_ptr<SlideLibrary> newLibrary(const QString &startFolder) = 0;
    // The Export... dialog: what to write and where; nothing when cancelled.
    virtual std::optional<ExportChoice> exportChoice(const ExportOffer &) { return std::nullopt; }
};

// Plain dialogs of the toolkit, used until the program's own dialogs are in
// place and wherever those are not needed.
class BasicDialogs : public MainDialogs
{
public:
    BasicDialogs(AppState &state, QWidget *parent) : mState(state), mParent(parent) {}

    QString explore(const ExploreRequest &request) override;
    QString favorites() override;
    void options() override;
    void about() override;
    std::unique_ptr<SlideLibrary> newLibrary(const QString &startFolder) override;

private:
    AppState &mState;
    QWidget *mParent;
};

} // namespace quarvel
