// Stored files survive the process being killed at any moment. A helper
// (tests/tools/quillon-test-durability) writes one stored file in a loop
// through the product's store code; this test kills it with SIGKILL at
// random moments and, after each kill, reads what is on disk.
//
// Adding a stored file: one writer in the helper and one row in `storedFiles`
// below, with a reader that says which sequence number the file holds.
// QUILLON_DURABILITY_SEED=N repeats the moments of an earlier run.

#include "platform/PlistValue.h"
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

struct StoredFile {
    const char* writer;   ///< the helper's name for it
    const char* fileName; ///< the file inside the folder the helper is given
    Found (*read)(const QString& path);
};

const StoredFile storedFiles[] = {
    {"settings", "app.quillon.Quillon.json", readSettingsDomain},
    {"settings-profile2", "app.quillon.Quillon.profile2.json", readSettingsDomain},
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

    QTemporaryDir folder;
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
    for (int kill = 0; kill < kills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill);
        Writer writer(stored.writer, folder.path(), next);
        ASSERT_TRUE(writer.started());
        ASSERT_EQ(writer.line(), "ready\n");
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        if (auto last = writer.kill())
            acknowledged = last;

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
            if (name == QLatin1String(stored.fileName))
                continue;
            ASSERT_TRUE(name.startsWith(temporaryName)) << "unexpected " << qPrintable(name);
            ++leftTemporaries;
            QFile::remove(folder.path() + QLatin1Char('/') + name);
        }
    }
    EXPECT_GT(leftTemporaries, 0) << "no kill landed between a temporary file's creation and its rename";
    std::printf("%s: %d kills, %d inside a write\n", stored.writer, kills, leftTemporaries);
}

INSTANTIATE_TEST_SUITE_P(StoredFiles, DurabilityTest, ::testing::ValuesIn(storedFiles), [](const auto& info) {
    QString name = QString::fromLatin1(info.param.writer);
    name.remove(QLatin1Char('-'));
    return name.toStdString();
});

} // namespace
