// The program-group command strings as they go out, how a reply to the group
// request is split, and that no name can smuggle a second command in.
#include "core/desktop/MenuGroups.h"

#include <gtest/gtest.h>

using namespace nuvask;

TEST(GroupCommands, AreTheFourStringsByteForByteEachEndedByCrLf)
{
    const QString title = QStringLiteral("DORIVA SOUND ボリューム");
    EXPECT_EQ(CreateGroupCommand(QStringLiteral("Startup")).value().toUtf8(), QByteArray("[CreateGroup(Startup)]\r\n"));
    EXPECT_EQ(ShowGroupCommand(QStringLiteral("KELDO SOFT")).value().toUtf8(),
              QByteArray("[ShowGroup(KELDO SOFT,1)]\r\n"));
    EXPECT_EQ(AddItemCommand(QStringLiteral("/opt/nuvask/nuvask"), title).value().toUtf8(),
              QByteArray("[AddItem(\"/opt/nuvask/nuvask\",\"DORIVA SOUND \xe3\x83\x9c\xe3\x83\xaa\xe3\x83\xa5\xe3\x83\xbc"
                         "\xe3\x83\xa0\")]\r\n"));
    EXPECT_EQ(DeleteItemCommand(title).value(), QStringLiteral("[DeleteItem(\"DORIVA SOUND ボリューム\")]\r\n"));
}

TEST(GroupCommands, RefuseNamesThatWouldBeReadAsSyntaxAndSayWhy)
{
    const QStringList bad{"a\"b", "a(b", "a)b", "a[b", "a]b", "tab\there", "line\nbreak", QString(QChar(0x7F))};
    for (const QString &name : bad) {
        QString error;
        EXPECT_FALSE(CreateGroupCommand(name, &error)) << name.toStdString();
        EXPECT_TRUE(error.startsWith(menuGroupText::BadName()));
        EXPECT_TRUE(error.endsWith(name));
        EXPECT_FALSE(ShowGroupCommand(name));
        EXPECT_FALSE(DeleteItemCommand(name));
        EXPECT_FALSE(AddItemCommand(QStringLiteral("/bin/true"), name));
    }
    // The classic injection: a group name that closes the command and opens another.
    EXPECT_FALSE(CreateGroupCommand(QStringLiteral("G)][DeleteItem(\"x\")][CreateGroup(H")));
    // An unquoted group name with a comma would start a second field; inside
    // the quoted item name a comma is harmless.
    EXPECT_FALSE(ShowGroupCommand(QStringLiteral("A,B")));
    EXPECT_TRUE(DeleteItemCommand(QStringLiteral("A,B")));
}

TEST(GroupCommands, ProgramPathMayHoldParenthesesButNoQuote)
{
    // Folders such as "Program Files (x86)" are real; the path is quoted.
    const auto ok = AddItemCommand(QStringLiteral("/opt/Program Files (x86)/a,b/[x]/nuvask"), QStringLiteral("N"));
    ASSERT_TRUE(ok);
    const auto parsed = ParseGroupCommands(*ok);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->at(0).args, QStringList({"/opt/Program Files (x86)/a,b/[x]/nuvask", "N"}));

    QString error;
    EXPECT_FALSE(AddItemCommand(QStringLiteral("/opt/a\"b/nuvask"), QStringLiteral("N"), &error));
    EXPECT_TRUE(error.startsWith(menuGroupText::BadPath()));
}

TEST(GroupCommands, ParseBackWhatTheBuildersWriteAndNothingElse)
{
    const QString text = CreateGroupCommand(QStringLiteral("KELDO ソフト")).value()
                         + AddItemCommand(QStringLiteral("/a b/ｱ"), QStringLiteral("名前")).value()
                         + ShowGroupCommand(QStringLiteral("KELDO ソフト")).value()
                         + DeleteItemCommand(QStringLiteral("名前")).value();
    const auto commands = ParseGroupCommands(text);
    ASSERT_TRUE(commands);
    ASSERT_EQ(commands->size(), 4);
    EXPECT_EQ(commands->at(0).kind, GroupCommand::CreateGroup);
    EXPECT_EQ(commands->at(0).args, QStringList{"KELDO ソフト"});
    EXPECT_EQ(commands->at(1).args, QStringList({"/a b/ｱ", "名前"}));
    EXPECT_EQ(commands->at(2).args, QStringList({"KELDO ソフト", "1"}));
    EXPECT_EQ(commands->at(3).kind, GroupCommand::DeleteItem);

    for (const char *broken : {"", "\r\n", "[CreateGroup(A)", "[CreateGroup(A)]x", "[DeleteGroup(A)]",
                               "[AddItem(\"unterminated)]", "[CreateGroup()]", "[ShowGroup(A)]",
                               "[CreateGroup(A,B)]", "CreateGroup(A)", "[AddItem(\"a\",\"b\",\"c\")]"}) {
        EXPECT_FALSE(ParseGroupCommands(QString::fromUtf8(broken))) << broken;
    }
}

TEST(GroupsReply, SplitsAtCodesBelowTwentyWithoutEmptyNames)
{
    EXPECT_EQ(SplitGroupsReply(QStringLiteral("A\r\nB\r\n")), QStringList({"A", "B"}));
    EXPECT_EQ(SplitGroupsReply(QStringLiteral("A\r\n\r\nB")), QStringList({"A", "B"}));
    EXPECT_EQ(SplitGroupsReply(QStringLiteral("\r\n\r\n")), QStringList());
    // Code 20 and the blank (32) stay inside a name; 19 ends it.
    const QString reply = QStringLiteral("Main Group") + QChar(20) + QStringLiteral("x") + QChar(19)
                          + QStringLiteral("ｽﾀｰﾄｱｯﾌﾟ ボリューム");
    EXPECT_EQ(SplitGroupsReply(reply),
              QStringList({QStringLiteral("Main Group") + QChar(20) + "x", QStringLiteral("ｽﾀｰﾄｱｯﾌﾟ ボリューム")}));
    // The zero character ends the reply.
    EXPECT_EQ(SplitGroupsReply(QStringLiteral("A\r\nB") + QChar(0) + QStringLiteral("C\r\n")), QStringList({"A", "B"}));
}

namespace {
class CannedGroups : public IMenuGroups
{
public:
    std::optional<QString> reply;
    QString ExecuteGroupCommand(const QString &) override { return {}; }
    std::optional<QString> RequestGroupsReply() override { return reply; }
};
} // namespace

TEST(GroupsReply, NoReplyIsAnEmptyList)
{
    CannedGroups groups;
    EXPECT_TRUE(groups.RequestGroups().isEmpty());
    groups.reply = QStringLiteral("A\r\nB\r\n");
    EXPECT_EQ(groups.RequestGroups(), QStringList({"A", "B"}));
}
