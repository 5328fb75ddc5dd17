// quarvel: start-up, then the main window until it is closed.

#include "appstate.h"
#include "filelistpane.h"
#include "frmabout.h"
#include "frmconfig.h"
#include "frmnewlib.h"
#include "mainwindow.h"
#include "programdialogs.h"
#include "prompts.h"
#include "settingslocation.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quarvel"));
    QApplication::setApplicationVersion(QStringLiteral(QUARVEL_VERSION));

    quarvel::AppState state;
    state.ProgramFolder = QApplication::applicationDirPath();
    state.SettingsFile = quarvel::settingsFilePath(state.ProgramFolder);
    quarvel::WidgetPrompts prompts;
    prompts.setLanguageCode(&state.LanguageCode);

    // The dialogs open over the main window, which exists only once start-up
    // has made it; the hooks reach it through this pointer.
    quarvel::MainWindow *window = nullptr;
    quarvel::ProgramDialogs::Hooks hooks;
    hooks.options = [&] { quarvel::showOptions(state, window->explorerList()->folder(), window); };
    hooks.about = [&] { quarvel::showAbout(window); };
    hooks.newLibrary = [&](const QString &folder) {
        return quarvel::showNewLibrary(state, prompts, window, folder);
    };
    quarvel::ProgramDialogs dialogs(state, prompts, nullptr, hooks);

    auto createMainWindow = [&](quarvel::AppState &s) -> std::unique_ptr<QWidget> {
        auto created = std::make_unique<quarvel::MainWindow>(s, prompts, dialogs);
        window = created.get();
        prompts.setParent(window);
        dialogs.setParent(window);
        return created;
    };
    const auto program = quarvel::runStartup(state, prompts,
                                             quarvel::commandLineFromArguments(QApplication::arguments()),
                                             createMainWindow);
    if (!program)
        return 0;
    quarvel::markFirstPaintForBenchmark(*program->mainWindow);
    return QApplication::exec();
}
