// Writes one stored file in a loop through the product's own store code, for
// the test that kills it at random moments. After each write call returns it
// prints the sequence number that write carried ("ack N"), so whatever the
// test reads from the pipe was acknowledged before the kill.
//
//   quillon-test-durability <file> <folder> <first sequence number>
//
// <file> names one writer of the table below; each writes a document whose
// every part carries the sequence number, so a torn write shows as parts
// that disagree. Adding a stored file is one writer here and one row in
// tests/durability/DurabilityTest.cpp.

#include "platform/PlistValue.h"
#include "platform/linux/JsonUserDefaults.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

using namespace quillon;
using platform::PlistValue;

namespace {

// The values one settings write carries: a sequence number and enough
// settings beside it that the write takes a while.
QMap<QString, PlistValue> settingsDocument(qint64 sequence)
{
    QMap<QString, PlistValue> values;
    values.insert(QStringLiteral("durability.sequence"), sequence);
    for (int i = 0; i < 64; ++i)
        values.insert(QStringLiteral("durability.part%1").arg(i, 2, 10, QLatin1Char('0')),
                      QStringLiteral("%1:").arg(sequence).leftJustified(96, QLatin1Char('x')));
    return values;
}

using Writer = std::function<void(qint64 sequence)>;

// A settings domain file, written as every settings change writes it.
Writer settingsDomain(const QString& folder, const QString& suite)
{
    auto defaults =
        std::make_shared<platform::linux_::JsonUserDefaults>(folder, QStringLiteral("app.quillon.Quillon"));
    platform::DefaultsStore* store = suite.isEmpty() ? &defaults->standard() : defaults->suite(suite);
    return [defaults, store](qint64 sequence) { store->setValues(settingsDocument(sequence)); };
}

struct WriterRow {
    const char* file;
    std::function<Writer(const QString& folder)> open;
};

const WriterRow writers[] = {
    {"settings", [](const QString& folder) { return settingsDomain(folder, {}); }},
    {"settings-profile2",
     [](const QString& folder) {
         return settingsDomain(folder, QStringLiteral("app.quillon.Quillon.profile2"));
     }},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: quillon-test-durability <file> <folder> <first>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    qint64 sequence = std::strtoll(argv[3], nullptr, 10);
    for (const WriterRow& row : writers) {
        if (std::strcmp(row.file, argv[1]) != 0)
            continue;
        const Writer write = row.open(folder);
        std::printf("ready\n");
        std::fflush(stdout);
        for (;; ++sequence) {
            write(sequence);
            std::printf("ack %lld\n", static_cast<long long>(sequence));
            std::fflush(stdout);
        }
    }
    std::fprintf(stderr, "quillon-test-durability: no writer for \"%s\"\n", argv[1]);
    return 2;
}
