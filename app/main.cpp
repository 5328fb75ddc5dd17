// quarvel: start-up, then the main window until it is closed.

#include "appstate.h"
#include "maindialogs.h"
#include "mainwindow.h"
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

    std::unique_ptr<quarvel::MainDialogs> dialogs;
    auto createMainWindow = [&](quarvel::AppState &s) -> std::unique_ptr<QWidget> {
        auto window = std::make_unique<quarvel::MainWindow>(s, prompts, *dialogs);
        prompts.setParent(window.get());
        return window;
    };
    dialogs = std::make_unique<quarvel::BasicDialogs>(state, nullptr);
    const auto program = quarvel::runStartup(state, prompts,
                                             quarvel::commandLineFromArguments(QApplication::arguments()),
                                             createMainWindow);
    if (!program)
        return 0;
    return QApplication::exec();
}
