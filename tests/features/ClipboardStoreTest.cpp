#include "features/clipboard/ClipboardStore.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(ClipboardStore, IngestKeepsOnlyTextWorthRemembering)
{
    fakes::FakePlatform fake;
    ClipboardStore store;
    struct Row {
        QString text;
        bool added;
    };
    const Row table[] = {
        {"", false},
        {" \n\t ", false},
        {"hello", true},
        {"hello", false}, // the newest entry again
        {"world", true},
        {"hello", true}, // no longer the newest
        {QString(ClipboardStore::maxTextBytes, 'x'), true},
        {QString(ClipboardStore::maxTextBytes / 2, QChar(0x00e9)) + "x", false}, // two bytes per é: one over
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.text.left(20).toStdString());
        EXPECT_EQ(store.ingest(row.text), row.added);
    }
    ASSERT_EQ(store.entries().size(), 4u);
    EXPECT_EQ(store.entries()[1].text, "hello");
    EXPECT_EQ(store.entries()[2].text, "world");
    EXPECT_EQ(store.entries()[0].firstCopied, fake.queue.now());
}

} // namespace
} // namespace quillon
