#include "fakes/FakePlatform.h"
#include "platform/linux/JsonUserDefaults.h"
#include "support/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;
using platform::PlistValue;
using platform::linux_::JsonUserDefaults;

namespace {

class JsonUserDefaultsTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    QString folder = fake.pathsImpl.configDir();
    QString standardFile = folder + "/app.quillon.Quillon.json";
};

TEST_F(JsonUserDefaultsTest, EveryKindSurvivesAReload)
{
    const QMap<QString, PlistValue> values = {
        {"a.bool", true},
        {"a.int", qint64(2)},
        {"a.double", 2.0},
        {"a.string", "hello"},
        {"a.list", QStringList{"com.b", "com.a"}},
        {"a.dict", platform::StringDictionary{{"x", "y"}}},
    };
    {
        JsonUserDefaults defaults(folder, "app.quillon.Quillon");
        for (auto it = values.begin(); it != values.end(); ++it)
            defaults.standard().set(it.key(), it.value());
        defaults.suite("app.quillon.Quillon.profile2")->set("a.int", qint64(5));
    }
    JsonUserDefaults reloaded(folder, "app.quillon.Quillon");
    for (auto it = values.begin(); it != values.end(); ++it) {
        auto v = reloaded.standard().storedValue(it.key());
        ASSERT_TRUE(v.has_value()) << it.key().toStdString();
        EXPECT_EQ(v->kind(), it.value().kind()) << it.key().toStdString();
        EXPECT_EQ(*v, it.value());
    }
    EXPECT_EQ(reloaded.suite("app.quillon.Quillon.profile2")->integerForKey("a.int"), 5);
    EXPECT_EQ(reloaded.standard().integerForKey("a.int"), 2);
}

TEST_F(JsonUserDefaultsTest, RegisteredDefaultsAnswerButAreNeverWritten)
{
    {
        JsonUserDefaults defaults(folder, "app.quillon.Quillon");
        defaults.standard().registerDefaults({{"k.flag", true}, {"k.minutes", qint64(30)}});
        EXPECT_TRUE(defaults.standard().boolForKey("k.flag"));
        EXPECT_EQ(defaults.standard().integerForKey("k.minutes"), 30);
        defaults.standard().set("k.other", "x");
    }
    JsonUserDefaults reloaded(folder, "app.quillon.Quillon");
    EXPECT_FALSE(reloaded.standard().object("k.flag").has_value());
    EXPECT_EQ(reloaded.standard().storedKeys(), QStringList{"k.other"});
}

TEST_F(JsonUserDefaultsTest, CorruptFileIsMovedAsideAndTheDomainStartsEmpty)
{
    QDir().mkpath(folder);
    QFile file(standardFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ not json");
    file.close();

    JsonUserDefaults defaults(folder, "app.quillon.Quillon");
    EXPECT_TRUE(defaults.standard().storedKeys().isEmpty());
    const QStringList aside = QDir(folder).entryList({"app.quillon.Quillon.json.corrupt-*"});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(folder + "/" + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("{ not json"));
    EXPECT_TRUE(fake.log.contains("moved aside"));

    defaults.standard().set("k", true);
    EXPECT_TRUE(QFile::exists(standardFile));
}

TEST_F(JsonUserDefaultsTest, UnreadableFileIsKeptAsideRatherThanOverwritten)
{
    QDir().mkpath(folder);
    QFile file(standardFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"kept\": {\"type\": \"bool\", \"value\": true}}");
    file.close();
    ASSERT_EQ(::chmod(QFile::encodeName(standardFile).constData(), 0), 0);

    // In a child that cannot read the file (root drops its right to read
    // past file modes), open the store and write one value.
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0) {
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            __user_cap_data_struct data[2]{};
            ::syscall(SYS_capget, &header, data);
            data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
            ::syscall(SYS_capset, &header, data);
        }
        QFile probe(standardFile);
        if (probe.open(QIODevice::ReadOnly))
            ::_exit(2);
        JsonUserDefaults defaults(folder, "app.quillon.Quillon");
        defaults.standard().set("k", true);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "the file stays readable here";
    ASSERT_EQ(WEXITSTATUS(status), 0);

    const QStringList aside = QDir(folder).entryList({"app.quillon.Quillon.json.corrupt-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    QFile kept(folder + "/" + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().contains("kept"));
}

TEST_F(JsonUserDefaultsTest, AWriteCutShortLeavesNothingTheNextStartReadsOrKeeps)
{
    {
        JsonUserDefaults defaults(folder, "app.quillon.Quillon");
        defaults.standard().set("k", qint64(1));
    }
    // What a write killed before its rename leaves: a half-written temporary.
    const QString leftover = AtomicFile::temporaryPrefix(standardFile) + "a1B2c3";
    QFile partial(leftover);
    ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
    partial.write("{\"k\": {\"type\": \"int\", \"val");
    partial.close();

    JsonUserDefaults defaults(folder, "app.quillon.Quillon");
    EXPECT_EQ(defaults.standard().integerForKey("k"), 1);
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(fake.log.lines.empty());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"app.quillon.Quillon.json"});
}

TEST_F(JsonUserDefaultsTest, UnusableSuiteNamesAreRefused)
{
    JsonUserDefaults defaults(folder, "app.quillon.Quillon");
    EXPECT_EQ(defaults.suite("app.quillon.Quillon"), nullptr);
    EXPECT_EQ(defaults.suite("../escape"), nullptr);
    EXPECT_EQ(defaults.suite(""), nullptr);
    EXPECT_NE(defaults.suite("app.quillon.Quillon.profile2"), nullptr);
}

} // namespace
