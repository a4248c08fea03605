// A damaged settings domain file at start: the app starts on defaults for
// that domain, says so once in the log, keeps the damaged file aside under
// the name the log gives, and loses nothing from the other domain.

#include "fakes/FakePlatform.h"
#include "platform/linux/JsonUserDefaults.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace quillon;
namespace Keys = quillon::SettingsKeys;
using platform::PlistValue;
using platform::linux_::JsonUserDefaults;

namespace {

const QString appId = QStringLiteral("app.quillon.Quillon");
const QString profileTwo = appId + QStringLiteral(".profile2");

/// Turns a good file (its bytes given) into a damaged one; returns what the
/// damaged file holds, or nothing when a folder stands in its place.
using Damage = std::optional<QByteArray> (*)(const QString& path, const QByteArray& good);

std::optional<QByteArray> put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << qPrintable(path);
    return bytes;
}

struct Case {
    const char* name;
    Damage damage;
    bool keepsReadableValues; ///< the damage spares the rest of the file
};

const Case cases[] = {
    {"truncated", [](const QString& p, const QByteArray& g) { return put(p, g.left(g.size() / 2)); }, false},
    {"zeroBytes", [](const QString& p, const QByteArray&) { return put(p, {}); }, false},
    {"notJson", [](const QString& p, const QByteArray&) { return put(p, "snap.isEnabled = true\n"); }, false},
    {"wrongShape",
     [](const QString& p, const QByteArray&) { return put(p, R"([{"type":"bool","value":true}])"); }, false},
    {"wrongTypeTag",
     [](const QString& p, const QByteArray& g) {
         QByteArray bytes = g;
         bytes.replace("\"double\"", "\"nonsense\"");
         return put(p, bytes);
     },
     true},
    {"tenMiBOfGarbage",
     [](const QString& p, const QByteArray&) {
         QByteArray bytes(10 * 1024 * 1024, '\0');
         quint32 x = 12345;
         for (char& c : bytes) {
             x = x * 1664525u + 1013904223u;
             c = char(x >> 24);
         }
         return put(p, bytes);
     },
     false},
    {"invalidUtf8",
     [](const QString& p, const QByteArray& g) {
         QByteArray bytes = g;
         bytes.replace("\"value\"", "\"val\xff\xfe\"");
         return put(p, bytes);
     },
     false},
    {"folderInItsPlace",
     [](const QString& p, const QByteArray&) -> std::optional<QByteArray> {
         QFile::remove(p);
         QDir().mkpath(p + QStringLiteral("/inside"));
         return std::nullopt;
     },
     false},
};

void PrintTo(const Case& row, std::ostream* out)
{
    *out << row.name;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CorruptSettingsFilesTest : public ::testing::TestWithParam<Case> {
protected:
    fakes::FakePlatform fake;
    const QString folder = fake.pathsImpl.configDir();

    QString file(const QString& domain) const
    {
        return folder + QLatin1Char('/') + domain + QStringLiteral(".json");
    }

    // Profile two active, a value in each domain.
    void writeGoodFiles()
    {
        QDir(folder).removeRecursively();
        JsonUserDefaults database(folder, appId);
        database.standard().setValues(
            {{Keys::settingsActiveProfile, qint64(2)}, {Keys::snapIsEnabled, true}, {Keys::sweepDelay, 7.0}});
        database.suite(profileTwo)
            ->setValues({{Keys::focusAlpha, 0.25}, {Keys::autoQuitMinutes, qint64(45)}});
    }
};

TEST_P(CorruptSettingsFilesTest, StartsOnDefaultsAndKeepsTheDamagedFileAside)
{
    for (const QString& damaged : {appId, profileTwo}) {
        SCOPED_TRACE(damaged.toStdString());
        const QString other = damaged == appId ? profileTwo : appId;
        writeGoodFiles();
        const QByteArray otherBytes = contents(file(other));
        const std::optional<QByteArray> damagedBytes =
            GetParam().damage(file(damaged), contents(file(damaged)));
        fake.log.lines.clear();

        JsonUserDefaults database(folder, appId);
        Settings settings(database, appId);
        database.suite(profileTwo); // both domains open, as after a switch

        ASSERT_EQ(fake.log.lines.size(), 1u);
        const QString line = fake.log.lines.front().message;
        EXPECT_TRUE(line.contains(file(damaged))) << qPrintable(line);
        const auto match = QRegularExpression(QStringLiteral("moved aside as ([^\\s,]+)")).match(line);
        ASSERT_TRUE(match.hasMatch()) << qPrintable(line);
        const QString aside = match.captured(1);
        if (damagedBytes)
            EXPECT_EQ(contents(aside), *damagedBytes);
        else
            EXPECT_TRUE(QFileInfo(aside).isDir());

        // The other domain is untouched on disk and in the store.
        EXPECT_EQ(contents(file(other)), otherBytes);
        if (other == appId) {
            EXPECT_EQ(database.standard().storedValue(Keys::snapIsEnabled), PlistValue(true));
            EXPECT_EQ(settings.profile(), Settings::Profile::two);
        } else {
            EXPECT_EQ(database.suite(profileTwo)->storedValue(Keys::focusAlpha), PlistValue(0.25));
        }
        // The damaged domain answers with what it could still read, or defaults.
        platform::DefaultsStore& store = damaged == appId ? database.standard() : *database.suite(profileTwo);
        const QString spared = damaged == appId ? Keys::snapIsEnabled : Keys::autoQuitMinutes;
        EXPECT_EQ(store.storedValue(spared).has_value(), GetParam().keepsReadableValues);

        // Saving works again and survives the next start.
        store.set(QStringLiteral("after.damage"), PlistValue(true));
        JsonUserDefaults restarted(folder, appId);
        platform::DefaultsStore& reread =
            damaged == appId ? restarted.standard() : *restarted.suite(profileTwo);
        EXPECT_EQ(reread.storedValue(QStringLiteral("after.damage")), PlistValue(true));
        EXPECT_EQ(reread.storedValue(spared).has_value(), GetParam().keepsReadableValues);
    }
}

INSTANTIATE_TEST_SUITE_P(Damages, CorruptSettingsFilesTest, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
