// The main window's menu bar.

#include "ui/mainwindow/MainMenu.h"

#include "ui/mainwindow/MainWindowTexts.h"

namespace nuvask {

namespace {

QAction *item(QMenu *menu, const char *name, const QString &caption, bool checkable = false)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setCheckable(checkable);
    return a;
}

void separator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

} // namespace

void MainMenu::build(QMenuBar *bar)
{
    bar->setObjectName(QStringLiteral("MainMenu1"));
    MOption0 = bar->addMenu(mainText::MOption0());
    MOption0->setObjectName(QStringLiteral("MOption0"));
    MO_Meter_ON = item(MOption0, "MO_Meter_ON", mainText::MO_Meter_ON(), true);
    MO_Auto_RecV = item(MOption0, "MO_Auto_RecV", mainText::MO_Auto_RecV(), true);
    MO_Guard_RecV = item(MOption0, "MO_Guard_RecV", mainText::MO_Guard_RecV(), true);
    MO_History = item(MOption0, "MO_History", mainText::MO_History());
    separator(MOption0, "N2");
    BackColor = item(MOption0, "BackColor", mainText::BackColor(), true);
    KELDO_COLOR = item(MOption0, "KELDO_COLOR", mainText::KELDO_COLOR(), true);
    separator(MOption0, "N5");
    MICON_SET = item(MOption0, "MICON_SET", mainText::MICON_SET());
    MICON_DEL = item(MOption0, "MICON_DEL", mainText::MICON_DEL());
    separator(MOption0, "N1");
    MDESK_SET = item(MOption0, "MDESK_SET", mainText::MDESK_SET());
    MDESK_DEL = item(MOption0, "MDESK_DEL", mainText::MDESK_DEL());

    MHelp0 = bar->addMenu(mainText::MHelp0());
    MHelp0->setObjectName(QStringLiteral("MHelp0"));
    HELP_MOKUJI = item(MHelp0, "HELP_MOKUJI", mainText::HELP_MOKUJI());
    HELP_KEYWORD = item(MHelp0, "HELP_KEYWORD", mainText::HELP_KEYWORD());
    HELP3 = item(MHelp0, "HELP3", mainText::HELP3(), true);
    separator(MHelp0, "N3");
    MHELP_VERCUT = item(MHelp0, "MHELP_VERCUT", mainText::MHELP_VERCUT());
    separator(MHelp0, "N4");
    MQ_A = item(MHelp0, "MQ_A", mainText::MQ_A());
    HELP2 = item(MHelp0, "HELP2", mainText::HELP2());
    HELP_HELP = item(MHelp0, "HELP_HELP", mainText::HELP_HELP());
    HELP_HELP->setVisible(false);
}

} // namespace nuvask
