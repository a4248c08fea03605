#include "features/jump/AppBindings.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::AppBindings;

namespace {

const Entry safari{"safari", "Safari"};
const Entry slack{"slack", "Slack"};
const Entry sublime{"sublime", "Sublime Text"};
const Entry notes{"notes", "Notes"};
const Entry numbers{"numbers", "Numbers"};
const Entry nova{"nova", "Nova"};

TEST(AppBindingsTest, FirstLetterTakesOnlySingleScalarAsciiClusters)
{
    const struct {
        QString name;
        std::optional<QChar> letter;
    } cases[] = {
        {QStringLiteral("\u00c9cran"), QChar('c')},  // precomposed É
        {QStringLiteral("E\u0301cran"), QChar('c')}, // E + combining acute: one cluster
        {QStringLiteral("Zoom"), QChar('z')},
        {QStringLiteral("1Password"), QChar('p')},
        {QStringLiteral("\u65e5\u672c 42"), std::nullopt}, // no Latin letter at all
        {QStringLiteral("\U0001F600 Emoji"), QChar('e')},
        {QString(), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firstLetter(c.name), c.letter) << c.name.toStdString();
    EXPECT_EQ(firstFreeLetter(QStringLiteral("Numbers"), {'n'}), QChar('u'));
    EXPECT_EQ(firstFreeLetter(QStringLiteral("Nn"), {'n'}), std::nullopt);
}

TEST(AppBindingsTest, GroupsBindingsAndRecency)
{
    // Letter groups: a pinned app stays out of the group of its letter.
    const Groups groups = firstLetterGroups({sublime, safari, slack}, {{'s', "safari"}}, {});
    EXPECT_EQ(groups, (Groups{{'s', {"slack", "sublime"}}}));
    EXPECT_TRUE(firstLetterGroups({slack}, {}, {"slack"}).empty());
    EXPECT_TRUE(firstLetterGroups({}, {}, {}).empty());

    // One letter per app: Numbers falls to u; the carry-over lets Nova take n.
    const Bindings first = rebuildAuto({notes, numbers}, {}, {}, {});
    EXPECT_EQ(first, (Bindings{{'n', "notes"}, {'u', "numbers"}}));
    EXPECT_EQ(rebuildAuto({numbers, nova}, {}, {}, first), (Bindings{{'n', "nova"}, {'u', "numbers"}}));
    // A previous letter since pinned elsewhere is dropped and a free one given.
    EXPECT_EQ(rebuildAuto({numbers}, {{'u', "other"}}, {}, first), (Bindings{{'n', "numbers"}}));
    // A pinned app gets no automatic letter even while it runs.
    EXPECT_EQ(rebuildAuto({notes}, {{'x', "notes"}}, {}, {}), Bindings{});
    EXPECT_TRUE(rebuildAuto({}, {}, {}, first).empty());

    EXPECT_EQ(lruOrder({safari, slack, sublime}, {"sublime", "safari"}),
              (QStringList{"slack", "safari", "sublime"}));
    EXPECT_EQ(lruOrder({sublime, slack, safari}, {}), (QStringList{"safari", "slack", "sublime"}));
}

TEST(AppBindingsTest, NameOrderIsByCodePointAfterNormalisation)
{
    EXPECT_TRUE(nameLess(QStringLiteral("Zoom"), QStringLiteral("calendar")));
    // U+FF21 sorts before U+1F600 by code point, though its UTF-16 unit is larger.
    EXPECT_TRUE(nameLess(QStringLiteral("\uff21"), QStringLiteral("\U0001F600")));
    EXPECT_FALSE(nameLess(QStringLiteral("E\u0301"), QStringLiteral("\u00c9")));
    EXPECT_FALSE(nameLess(QStringLiteral("\u00c9"), QStringLiteral("E\u0301")));
}

} // namespace
