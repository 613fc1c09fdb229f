#pragma once
// The main window's menu bar MainMenu1: Options and Help, every item with its
// object name and caption, in display order.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace nuvask {

struct MainMenu
{
    QMenu *MOption0 = nullptr;
    QAction *MO_Meter_ON = nullptr;
    QAction *MO_Auto_RecV = nullptr;
    QAction *MO_Guard_RecV = nullptr;
    QAction *MO_History = nullptr; // the level history window
    QAction *BackColor = nullptr;
    QAction *KELDO_COLOR = nullptr;
    QAction *MICON_SET = nullptr;
    QAction *MICON_DEL = nullptr;
    QAction *MDESK_SET = nullptr;
    QAction *MDESK_DEL = nullptr;
    QMenu *MHelp0 = nullptr;
    QAction *HELP_MOKUJI = nullptr;
    QAction *HELP_KEYWORD = nullptr;
    QAction *HELP3 = nullptr;
    QAction *MHELP_VERCUT = nullptr;
    QAction *MQ_A = nullptr;
    QAction *HELP2 = nullptr;
    QAction *HELP_HELP = nullptr;

    // Fills bar; the actions are owned by their menus.
    void build(QMenuBar *bar);
};

} // namespace nuvask
