// The text input box's history rules: most recent first, each text once
// (letter case ignored), a chosen entry moves to the front.
#include "core/dialogs/InputBoxHistory.h"

#include <gtest/gtest.h>

using namespace nuvask;

TEST(InputBoxHistoryTest, MoveToFrontIgnoresCaseAndChoosingMovesTheEntryFirst)
{
    QStringList history{QStringLiteral("a"), QStringLiteral("b")};
    MoveToFront(history, QStringLiteral("B"));
    EXPECT_EQ(history, (QStringList{"B", "a"}));
    MoveToFront(history, QString());
    EXPECT_EQ(history, (QStringList{"B", "a"}));
    history << QStringLiteral("c") << QStringLiteral("d");
    EXPECT_EQ(ChooseHistoryEntry(history, 2), QStringLiteral("c"));
    EXPECT_EQ(history, (QStringList{"c", "B", "a", "d"}));
    EXPECT_TRUE(ChooseHistoryEntry(history, 4).isEmpty());
    EXPECT_EQ(history.size(), 4);
}
