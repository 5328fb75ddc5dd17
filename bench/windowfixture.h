#pragma once

// What the main window's benchmarks open: a library of generated slides in a
// temporary folder, named at start as if on the command line.

#include "benchdata.h"
#include "maindialogs.h"
#include "mainwindow.h"
#include "prompts.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>

namespace quarvel::bench {

struct WindowFixture
{
    WindowFixture(int slides, int slideBytes)
    {
        writeFile(dir.filePath(QStringLiteral("big.slb")), generatedLibrary(slides, slideBytes));
        state.ProgramFolder = state.StartFolder = dir.path();
        state.SettingsFile = dir.filePath(QStringLiteral("Quarvel.ini"));
        state.StartFile = QStringLiteral("big.slb");
    }
    // A shown window (of the given size, else its own) with its first events handled.
    std::unique_ptr<MainWindow> window(QSize size = {})
    {
        auto w = std::make_unique<MainWindow>(state, prompts, dialogs);
        if (size.isValid())
            w->resize(size);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }
    QTemporaryDir dir;
    AppState state;
    WidgetPrompts prompts;
    BasicDialogs dialogs{state, nullptr};
};

} // namespace quarvel::bench
