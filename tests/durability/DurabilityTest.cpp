// Stored files survive the process being killed at any moment. A helper
// (tests/tools/quillon-test-durability) writes one stored file in a loop
// through the product's store code; this test kills it with SIGKILL at
// random moments and, after each kill, reads what is on disk.
//
// Adding a stored file: one writer in the helper and one row in `storedFiles`
// below, with a reader that says which sequence number the file holds.
// QUILLON_DURABILITY_SEED=N repeats the moments of an earlier run.

#include "features/clipboard/ClipboardStore.h"
#include "features/snippets/SnippetStore.h"
#include "platform/PlistValue.h"
#include "shelf/ShelfStore.h"
#include "support/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace quillon;
using platform::PlistValue;

namespace {

constexpr int kills = 200;
// A loaded machine can take most of a second to start the helper; past this
// budget a run ends early, once it has killed enough times and at least once
// inside a write.
constexpr int fewestKills = 40;
constexpr std::chrono::seconds budget{45};

/// Where the stores live for the run. A kill ends the process, not the
/// machine, so what the page cache holds counts as written: a memory-backed
/// folder keeps the disk's sync times (long on a busy machine) out of the run.
QString folderTemplate()
{
    const QString shared = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(shared).isDir() && QFileInfo(shared).isWritable() ? shared : QDir::tempPath();
    return base + QStringLiteral("/quillon-durability-XXXXXX");
}

/// What a reader found in a stored file: nothing yet, a complete document
/// carrying a sequence number, or a problem.
struct Found {
    bool exists = false;
    std::optional<qint64> sequence;
    QString problem;
};

/// A settings domain file: a JSON object of type-tagged values whose
/// "durability.sequence" and every "durability.partNN" agree.
Found readSettingsDomain(const QString& path)
{
    Found found;
    QFile file(path);
    if (!file.exists())
        return found;
    found.exists = true;
    if (!file.open(QIODevice::ReadOnly)) {
        found.problem = QStringLiteral("cannot be read");
        return found;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        found.problem = QStringLiteral("does not parse: ") + error.errorString();
        return found;
    }
    const QJsonObject values = doc.object();
    const auto sequence = PlistValue::fromTaggedJson(values.value(QStringLiteral("durability.sequence")));
    if (!sequence || !sequence->asInt()) {
        found.problem = QStringLiteral("holds no sequence number");
        return found;
    }
    const QString prefix = QString::number(*sequence->asInt()) + QLatin1Char(':');
    for (int i = 0; i < 64; ++i) {
        const QString key = QStringLiteral("durability.part%1").arg(i, 2, 10, QLatin1Char('0'));
        const auto part = PlistValue::fromTaggedJson(values.value(key));
        if (!part || !part->asString() || !part->asString()->startsWith(prefix)) {
            found.problem = QStringLiteral("is not one whole document (%1 disagrees)").arg(key);
            return found;
        }
    }
    found.sequence = *sequence->asInt();
    return found;
}

/// The bytes of a stored file, or why there are none.
std::optional<QByteArray> readBytes(const QString& path, Found& found)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    found.exists = true;
    if (!file.open(QIODevice::ReadOnly)) {
        found.problem = QStringLiteral("cannot be read");
        return std::nullopt;
    }
    return file.readAll();
}

/// The parts of one document written by the helper: `count` texts that all
/// start with the same "<sequence>:".
Found wholeDocument(Found found, const QStringList& parts, int count)
{
    if (parts.size() != count) {
        found.problem = QStringLiteral("holds %1 parts, not %2").arg(parts.size()).arg(count);
        return found;
    }
    bool isNumber = false;
    const qint64 sequence = parts.front().section(QLatin1Char(':'), 0, 0).toLongLong(&isNumber);
    if (!isNumber) {
        found.problem = QStringLiteral("holds no sequence number");
        return found;
    }
    const QString prefix = QString::number(sequence) + QLatin1Char(':');
    for (const QString& part : parts) {
        if (!part.startsWith(prefix)) {
            found.problem = QStringLiteral("is not one whole document (\"%1\" disagrees)").arg(part.left(20));
            return found;
        }
    }
    found.sequence = sequence;
    return found;
}

QStringList textsOf(const std::vector<ClipboardEntry>& entries)
{
    QStringList texts;
    for (const ClipboardEntry& entry : entries)
        texts << entry.text;
    return texts;
}

/// "Clipboard.json": a full history whose every entry carries the sequence.
Found readClipboardHistory(const QString& path)
{
    Found found;
    const auto bytes = readBytes(path, found);
    if (!bytes)
        return found;
    const auto entries = ClipboardStore::decode(*bytes);
    if (!entries) {
        found.problem = QStringLiteral("does not decode as a history");
        return found;
    }
    return wholeDocument(found, textsOf(*entries), int(ClipboardStore::maxEntries));
}

/// "ClipboardPins.json": a full list of pins in manual order.
Found readClipboardPins(const QString& path)
{
    Found found;
    const auto bytes = readBytes(path, found);
    if (!bytes)
        return found;
    const auto pins = ClipboardStore::decodePins(*bytes);
    if (!pins || !pins->second) {
        found.problem = QStringLiteral("does not decode as pins in manual order");
        return found;
    }
    return wholeDocument(found, textsOf(pins->first), int(ClipboardStore::maxEntries));
}

/// "Snippets.json": 64 snippets whose every body carries the sequence.
Found readSnippets(const QString& path)
{
    Found found;
    const auto bytes = readBytes(path, found);
    if (!bytes)
        return found;
    const auto snippets = SnippetStore::decode(*bytes);
    if (!snippets) {
        found.problem = QStringLiteral("does not decode as snippets");
        return found;
    }
    QStringList bodies;
    for (const Snippet& snippet : *snippets)
        bodies << snippet.body;
    return wholeDocument(found, bodies, 64);
}

/// What a stash or removal cut short leaves inside the shelf folder.
int shelfStaging(const QString& path)
{
    int staging = 0;
    for (const QString& name : QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        if (name.endsWith(QLatin1String(".partial")) || name.endsWith(QLatin1String(".removing")))
            ++staging;
    return staging;
}

/// The shelf folder, as a fresh load finds it: only whole items, each two
/// files of one sequence with their origins, and no staging folder left.
Found readShelf(const QString& path)
{
    Found found;
    if (!QFileInfo(path).isDir())
        return found;
    found.exists = true;
    ShelfStore store(path);
    store.load();
    for (const QString& name : QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (!ShelfStore::idOfFolderName(name)) {
            found.problem = QStringLiteral("%1 is left after a load").arg(name);
            return found;
        }
    }
    for (const ShelfItem& item : store.items()) {
        QStringList parts;
        for (const QUrl& url : item.urls) {
            QFile file(url.toLocalFile());
            if (!file.open(QIODevice::ReadOnly)) {
                found.problem = QStringLiteral("%1 cannot be read").arg(url.toLocalFile());
                return found;
            }
            const QByteArray bytes = file.readAll();
            const QByteArray line = bytes.left(bytes.indexOf('\n') + 1);
            if (line.isEmpty() || bytes != line.repeated(64)) {
                found.problem = QStringLiteral("%1 is not a whole copy").arg(url.toLocalFile());
                return found;
            }
            parts << QString::fromUtf8(line);
        }
        const Found one = wholeDocument({}, parts, 2);
        if (!one.problem.isEmpty()) {
            found.problem = QStringLiteral("item %1 ").arg(item.id.toString()) + one.problem;
            return found;
        }
        const QString made = QStringLiteral("/s%1/").arg(*one.sequence);
        if (item.origins.size() != 2 || !item.origins[0].contains(made) || !item.origins[1].contains(made)) {
            found.problem = QStringLiteral("item %1 has origins %2")
                                .arg(item.id.toString(), item.origins.join(QLatin1Char(',')));
            return found;
        }
        found.sequence = std::max(found.sequence.value_or(0), *one.sequence);
    }
    return found;
}

struct StoredFile {
    const char* writer;   ///< the helper's name for it
    const char* fileName; ///< the file (or folder) inside the folder the helper is given
    Found (*read)(const QString& path);
    /// For a folder store: how many staging entries a write cut short left
    /// inside it, counted before the reader loads it.
    int (*staging)(const QString& path) = nullptr;
    /// Another name the helper keeps beside the file (what it stashes from).
    const char* besides = nullptr;
};

const StoredFile storedFiles[] = {
    {"settings", "app.quillon.Quillon.json", readSettingsDomain},
    {"settings-profile2", "app.quillon.Quillon.profile2.json", readSettingsDomain},
    {"clipboard", "Clipboard.json", readClipboardHistory},
    {"clipboard-pins", "ClipboardPins.json", readClipboardPins},
    {"snippets", "Snippets.json", readSnippets},
    {"shelf", "Shelf", readShelf, shelfStaging, "sources"},
};

/// The helper, running, with its standard output on a pipe.
class Writer {
public:
    Writer(const char* file, const QString& folder, qint64 first)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        const std::string program = QUILLON_TEST_BIN_DIR "/quillon-test-durability";
        const QByteArray folderArg = QFile::encodeName(folder);
        const std::string firstArg = std::to_string(first);
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(file),
                        const_cast<char*>(folderArg.constData()), const_cast<char*>(firstArg.c_str()),
                        nullptr};
        if (::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        m_out = ::fdopen(fds[0], "r");
    }
    ~Writer()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out)
            std::fclose(m_out);
    }

    bool started() const { return m_pid > 0 && m_out; }

    /// The next line it printed; empty at its end.
    std::string line()
    {
        char buffer[256];
        if (!std::fgets(buffer, sizeof buffer, m_out))
            return {};
        return buffer;
    }

    /// Stops it at moments spread over `spread` until it is caught inside a
    /// write, a file named from `prefix` in `folder`, and leaves it stopped
    /// there. A write's temporary lives for a small part of each write (much
    /// of the time goes to encoding, the more so under sanitizers), so random
    /// kills alone can miss it for hundreds of tries. False, and running,
    /// when no stop caught one.
    bool stopInsideAWrite(const QString& folder, const QString& prefix, std::mt19937& random,
                          std::chrono::microseconds spread)
    {
        std::uniform_int_distribution<long> pause(0, std::max<long>(spread.count(), 50));
        const QDir dir(folder);
        for (int attempt = 0; attempt < 2000; ++attempt) {
            std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
            if (::kill(m_pid, SIGSTOP) != 0)
                return false;
            int status = 0;
            if (::waitpid(m_pid, &status, WUNTRACED) != m_pid || !WIFSTOPPED(status))
                return false;
            for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
                if (name.startsWith(prefix))
                    return true;
            }
            ::kill(m_pid, SIGCONT);
        }
        return false;
    }

    /// Kills it and returns the last sequence number it acknowledged.
    std::optional<qint64> kill()
    {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
        std::optional<qint64> last;
        for (std::string text = line(); !text.empty(); text = line()) {
            if (text.rfind("ack ", 0) == 0)
                last = std::strtoll(text.c_str() + 4, nullptr, 10);
        }
        return last;
    }

private:
    pid_t m_pid = -1;
    FILE* m_out = nullptr;
};

unsigned seedForThisRun()
{
    if (const char* given = std::getenv("QUILLON_DURABILITY_SEED"))
        return unsigned(std::strtoul(given, nullptr, 10));
    return std::random_device{}();
}

void PrintTo(const StoredFile& row, std::ostream* out)
{
    *out << row.writer;
}

class DurabilityTest : public ::testing::TestWithParam<StoredFile> {};

TEST_P(DurabilityTest, SurvivesAKillAtAnyMoment)
{
    const StoredFile& stored = GetParam();
    const unsigned seed = seedForThisRun();
    std::printf("durability seed for %s: %u (QUILLON_DURABILITY_SEED=%u repeats it)\n", stored.writer, seed,
                seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);

    QTemporaryDir folder(folderTemplate());
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.path() + QLatin1Char('/') + QLatin1String(stored.fileName);
    const QString temporaryName = QFileInfo(AtomicFile::temporaryPrefix(path)).fileName();

    // How long one write takes here, so that the kills spread over a few
    // whole writes whatever the disk.
    std::chrono::microseconds perWrite{};
    {
        Writer writer(stored.writer, folder.path(), 1);
        ASSERT_TRUE(writer.started());
        ASSERT_EQ(writer.line(), "ready\n");
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(writer.line().rfind("ack ", 0), 0u);
        perWrite =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) /
            20;
    }
    std::uniform_int_distribution<long> delay(0, std::max<long>(4 * perWrite.count(), 400));

    std::optional<qint64> acknowledged;
    qint64 next = 1000;
    int leftTemporaries = 0;
    const auto began = std::chrono::steady_clock::now();
    int kill = 0;
    for (; kill < kills; ++kill) {
        if (kill >= fewestKills && leftTemporaries > 0 && std::chrono::steady_clock::now() - began > budget)
            break;
        SCOPED_TRACE(testing::Message() << "kill " << kill);
        Writer writer(stored.writer, folder.path(), next);
        ASSERT_TRUE(writer.started());
        ASSERT_EQ(writer.line(), "ready\n");
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        // Every fourth kill, while none has landed inside a write yet, waits
        // for the writer to be inside one.
        if (leftTemporaries == 0 && kill % 4 == 3)
            writer.stopInsideAWrite(folder.path(), temporaryName, random, perWrite / 4);
        if (auto last = writer.kill())
            acknowledged = last;

        if (stored.staging)
            leftTemporaries += stored.staging(path);
        const Found found = stored.read(path);
        ASSERT_TRUE(found.problem.isEmpty()) << qPrintable(found.problem);
        if (acknowledged) {
            ASSERT_TRUE(found.sequence.has_value()) << "an acknowledged write is missing";
            ASSERT_GE(*found.sequence, *acknowledged);
        }
        next = std::max(next, found.sequence.value_or(0) + 1);
        if (acknowledged)
            next = std::max(next, *acknowledged + 1);

        // Only the file and, after a kill inside a write, its temporary file:
        // nothing set aside, nothing a later start would take for data.
        for (const QString& name :
             QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            if (name == QLatin1String(stored.fileName) ||
                (stored.besides && name == QLatin1String(stored.besides)))
                continue;
            ASSERT_TRUE(name.startsWith(temporaryName)) << "unexpected " << qPrintable(name);
            ++leftTemporaries;
            QFile::remove(folder.path() + QLatin1Char('/') + name);
        }
    }
    EXPECT_GT(leftTemporaries, 0) << "no kill landed between a temporary's creation and its rename";
    std::printf("%s: %d kills, %d inside a write\n", stored.writer, kill, leftTemporaries);
}

INSTANTIATE_TEST_SUITE_P(StoredFiles, DurabilityTest, ::testing::ValuesIn(storedFiles), [](const auto& info) {
    QString name = QString::fromLatin1(info.param.writer);
    name.remove(QLatin1Char('-'));
    return name.toStdString();
});

} // namespace
