// Command states by the file on view and the slide count, and the menu items
// that copy the buttons.

#include "commandstates.h"

#include <QHash>

#include <gtest/gtest.h>

using namespace quarvel;

TEST(CommandStates, ByFileAndSlideCount)
{
    constexpr auto Wmf = ExportFormat::Wmf;
    struct Row
    {
        const char *name;
        qint32 count;
        CommandStates expected; // save, add, delete, export, to SLD, list, picture
    };
    const Row rows[] = {
        {"", 0, {}},
        {"C:\\Lib\\doors.slb", 0, {true, true, false, true, true, false, {}}},
        {"C:\\Lib\\doors.slb", 1, {true, true, false, true, true, false, {}}},
        {"C:\\Lib\\doors.slb", 2, {true, true, true, true, true, true, {}}},
        {"C:\\Lib\\doors.slb", 250, {true, true, true, true, true, true, {}}},
        {"D:\\X.SLB", 2, {true, true, true, true, true, true, {}}},
        {"d:\\x.Slb", 1, {true, true, false, true, true, false, {}}},
        {"C:\\Lib\\door.sld", 0, {true, false, false, true, false, false, Wmf}},
        {"C:\\Lib\\door.SlD", 0, {true, false, false, true, false, false, Wmf}},
        {"C:\\Lib\\plan.wmf", 0, {}},
        {"C:\\Lib\\Folder", 0, {}},
        {"C:\\Lib\\Folder", 3, {false, false, false, false, false, true, {}}},
        {"C:\\Lib\\doors.slb", -1, {true, true, false, true, true, false, {}}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.name << " " << r.count);
        EXPECT_EQ(setButtEnabled(r.name, r.count), r.expected);
    }
    EXPECT_EQ(noLibraryStates(), CommandStates{});
}

TEST(CommandStates, MenusCopyTheButtons)
{
    const QList<QPair<const char *, const char *>> copies = {{"cmdFBSave", "mnuFSaveAs"},
                                                             {"cmdFBAdd", "mnuADdd"},
                                                             {"cmdFBDel", "mnuADelete"},
                                                             {"cmdFBExtr", "mnuAExport"},
                                                             {"mnuAESLD", "pmnuESLD"}};
    for (const auto &[name, count] : {std::pair{"x.slb", 1}, {"x.slb", 2}, {"x.sld", 0}, {"", 0}}) {
        QHash<QString, bool> enabled;
        for (const ControlEnabled &c : controlStates(setButtEnabled(name, count)))
            enabled.insert(c.name, c.enabled);
        EXPECT_EQ(enabled.size(), 11);
        for (const auto &[button, menu] : copies)
            EXPECT_EQ(enabled.value(button), enabled.value(menu)) << name << " " << menu;
        EXPECT_EQ(enabled.value("List1"), count > 1);
    }
}
