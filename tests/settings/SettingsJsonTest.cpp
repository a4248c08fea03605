#include "SettingsFixture.h"
#include "settings/SettingsDocument.h"

#include <QJsonDocument>

using namespace quillon;
namespace Keys = quillon::SettingsKeys;
using platform::PlistValue;
using platform::StringDictionary;

namespace {

using SettingsJsonTest = quillon::testing::SettingsFixture;

QJsonObject parse(const QString& text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

// A value for every exported key that differs from its default and keeps its kind.
QMap<QString, PlistValue> changedValues()
{
    QMap<QString, PlistValue> values = {
        {Keys::sweepListedApps, QStringList{"org.a", "org.b"}},
        {Keys::sweepOnlyListedApps, QStringList{"org.c"}},
        {Keys::jumpForced, StringDictionary{{"K", "org.k"}, {"M", "org.m"}}},
        {Keys::jumpIgnored, QStringList{"org.i"}},
        {Keys::awakeTriggerApps, QStringList{"org.t"}},
        {Keys::breaksExcludedApps, QStringList{}},
        {Keys::clipboardExcludedApps, QStringList{"org.x", "org.y"}},
        {Keys::clipboardSuggestionsHidden, true},
        {Keys::autoQuitApps, QStringList{"org.q"}},
        {Keys::autoQuitExcludedApps, QStringList{"org.e"}},
    };
    for (const QString& key : Settings::allKeys()) {
        if (values.contains(key))
            continue;
        values.insert(key, quillon::testing::otherValue(Keys::registeredDefaults().value(key, false)));
    }
    return values;
}

TEST_F(SettingsJsonTest, FreshExportCarriesTheRegisteredExportedKeysSortedAndIndented)
{
    const QString text = settings->exportJSON();
    const QJsonObject top = parse(text);
    EXPECT_EQ(top.value("app"), "Quillon");
    EXPECT_EQ(top.value("schema"), 1);
    const QJsonObject values = top.value("values").toObject();
    EXPECT_EQ(values.size(), 55);
    for (auto it = values.begin(); it != values.end(); ++it)
        EXPECT_EQ(it.value(), Keys::registeredDefaults().value(it.key(), "missing").toJson())
            << it.key().toStdString();
    EXPECT_FALSE(values.contains(Keys::onboardingIndex));
    EXPECT_FALSE(values.contains(Keys::jumpIgnored));

    EXPECT_TRUE(text.startsWith("{\n    \"app\": \"Quillon\",\n    \"schema\": 1,\n    \"values\": {\n"));
    EXPECT_LT(text.indexOf("\"autoQuit.isEnabled\""), text.indexOf("\"awake.allowDisplaySleep\""));
    EXPECT_LT(text.indexOf("\"sweep.strategy\""), text.indexOf("\"swipe.isEnabled\""));
}

TEST_F(SettingsJsonTest, EveryExportedKeySurvivesExportAndImportOnBothProfiles)
{
    ASSERT_EQ(Settings::allKeys().size(), 65);
    const QMap<QString, PlistValue> values = changedValues();
    for (Settings::Profile profile : Settings::allProfiles) {
        SCOPED_TRACE(int(profile));
        settings->setProfile(profile);
        platform::DefaultsStore& other = profile == Settings::Profile::one ? profileTwoStore() : root();
        for (auto it = values.begin(); it != values.end(); ++it)
            settings->set(it.value(), it.key());
        const QString text = settings->exportJSON();
        EXPECT_EQ(parse(text).value("values").toObject().size(), 65);

        for (const QString& key : Settings::allKeys())
            settings->defaults().remove(key);
        const QStringList otherKeys = other.storedKeys();
        notifications = 0;
        EXPECT_TRUE(settings->importJSON(text));
        EXPECT_EQ(notifications, 1);
        for (auto it = values.begin(); it != values.end(); ++it) {
            // Same kind and value, so every typed read gives what it gave before.
            EXPECT_EQ(settings->defaults().storedValue(it.key()), it.value()) << it.key().toStdString();
        }
        EXPECT_EQ(other.storedKeys(), otherKeys);
    }
    EXPECT_EQ(settings->listedApps(), (QSet<QString>{"org.a", "org.b"}));
    EXPECT_EQ(settings->jumpForced(), (QMap<QString, QString>{{"K", "org.k"}, {"M", "org.m"}}));
    EXPECT_DOUBLE_EQ(settings->quitDelay(), 3.0);
    EXPECT_EQ(settings->notchMaxHintItems(), 11);
}

TEST_F(SettingsJsonTest, ImportingTheOwnExportChangesNothingButStoresTheDefaults)
{
    settings->setJumpIgnored({"org.a"});
    const QString text = settings->exportJSON();
    notifications = 0;
    EXPECT_TRUE(settings->importJSON(text));
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(root().storedKeys().size(), 56);
    EXPECT_EQ(root().storedValue(Keys::sweepDelay), PlistValue(2.0));
    EXPECT_EQ(settings->exportJSON(), text);
}

TEST_F(SettingsJsonTest, RefusedDocumentsChangeNothing)
{
    const QString valid = R"({"app":"Quillon","schema":1,"values":{"snap.isEnabled":true}})";
    const QString deep = QString("[").repeated(100000) + QString("]").repeated(100000);
    const QString padding = QString(QChar(0xE9)).repeated(SettingsDocument::maxBytes / 2 + 8); // 2 bytes each
    const std::vector<QString> documents = {
        "",
        "not json",
        "[]",
        "3",
        "null",
        R"("Quillon")",
        R"({"values":{"snap.isEnabled":true}})",
        R"({"app":"Other","values":{"snap.isEnabled":true}})",
        R"({"app":1,"values":{"snap.isEnabled":true}})",
        R"({"app":"quillon","values":{"snap.isEnabled":true}})",
        R"({"app":["Quillon"],"values":{"snap.isEnabled":true}})",
        R"({"app":"Quillon"})",
        R"({"app":"Quillon","values":[["snap.isEnabled",true]]})",
        R"({"app":"Quillon","values":null})",
        R"({"app":"Quillon","values":"snap.isEnabled"})",
        R"({"app":"Quillon","values":{"snap.isEnabled":true})",
        R"({"app":"Quillon","values":{"snap.isEnabled":true}} {})",
        R"({"app":"Quillon","values":{"snap.isEnabled":true},"x":)" + deep + "}",
        R"({"app":"Quillon","values":{"snap.isEnabled":true},"x":")" + padding + "\"}",
    };
    settings->setSweepEnabled(true);
    notifications = 0;
    for (const QString& text : documents) {
        SCOPED_TRACE(text.left(60).toStdString());
        EXPECT_FALSE(settings->importJSON(text));
        EXPECT_FALSE(settings->importedSection("x", text).has_value());
        EXPECT_EQ(root().storedKeys(), QStringList{Keys::sweepIsEnabled});
    }
    EXPECT_EQ(notifications, 0);
    EXPECT_TRUE(fake.log.contains("Settings document refused"));
    EXPECT_TRUE(settings->importJSON(valid));
    EXPECT_TRUE(settings->isSnapEnabled());
}

TEST_F(SettingsJsonTest, EachMemberIsCheckedOnItsOwn)
{
    struct Case {
        QString key;
        const char* json;
        std::optional<PlistValue> storedBefore;
        std::optional<PlistValue> storedAfter; // none: nothing stored
    };
    const std::vector<Case> cases = {
        {Keys::snapIsEnabled, "1", std::nullopt, qint64(1)},            // number over a Boolean
        {Keys::sweepDelay, "true", std::nullopt, true},                 // Boolean over a number
        {Keys::notchHintDelay, R"("0.5")", std::nullopt, std::nullopt}, // string over a number
        {Keys::notchHintDelay, "1", std::nullopt, 1.0},                 // a double stays a double
        {Keys::autoQuitMinutes, "2.5", std::nullopt, 2.5},
        {Keys::sweepListMode, "3", std::nullopt, std::nullopt}, // number over a string
        {Keys::sweepDelay, "null", std::nullopt, std::nullopt},
        {Keys::jumpIgnored, R"(["a",null])", QStringList{"z"}, QStringList{"z"}},
        {Keys::jumpIgnored, R"(["a","b"])", QStringList{"z"}, QStringList{"a", "b"}},
        {Keys::sweepListedApps, "[1,2]", QStringList{"z"}, QStringList{"z"}}, // no string array
        {Keys::sweepOnlyListedApps, R"([["a"]])", std::nullopt, std::nullopt},
        {Keys::jumpForced, "{}", std::nullopt, StringDictionary{}},
        {Keys::jumpForced, R"({"a":1})", std::nullopt, std::nullopt},
        {Keys::jumpForced, R"({"a":"org.a"})", StringDictionary{{"b", "org.b"}},
         StringDictionary{{"a", "org.a"}}},
        {Keys::awakeTriggerApps, "5", std::nullopt, qint64(5)}, // no value yet: any kind
        {Keys::breaksExcludedApps, R"("x")", QStringList{}, QStringList{}},
        {Keys::clipboardSuggestionsHidden, R"({"k":"v"})", std::nullopt, StringDictionary{{"k", "v"}}},
        {"unknown.key", "true", std::nullopt, std::nullopt},
        {Keys::onboardingIndex, "4", std::nullopt, std::nullopt}, // not exported, not imported
        {Keys::settingsActiveProfile, "2", std::nullopt, std::nullopt},
        {Keys::shelfThumbnailHeldByUs, "true", std::nullopt, std::nullopt},
    };
    // One document per case: a key may appear in several cases.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.toStdString() + " = " + c.json);
        if (c.storedBefore)
            root().set(c.key, *c.storedBefore);
        else
            root().remove(c.key);
        const QString text = QString(R"({"app":"Quillon","schema":"ignored","values":{"%1":%2}})")
                                 .arg(c.key, QString::fromUtf8(c.json));
        EXPECT_TRUE(settings->importJSON(text));
        EXPECT_EQ(root().storedValue(c.key), c.storedAfter);
    }
    EXPECT_EQ(settings->profile(), Settings::Profile::one);
}

TEST_F(SettingsJsonTest, OneNotificationForAnImportThatChangedSomething)
{
    notifications = 0;
    EXPECT_TRUE(settings->importJSON(R"({"app":"Quillon","values":{}})"));
    EXPECT_TRUE(settings->importJSON(R"({"app":"Quillon","values":{"snap.onDrag":1,"sweep.delay":2}})"));
    EXPECT_EQ(notifications, 0);
    EXPECT_TRUE(settings->importJSON(
        R"({"app":"Quillon","values":{"snap.isEnabled":true,"focus.alpha":0.5,"sweep.listMode":3}})"));
    EXPECT_EQ(notifications, 1);
    EXPECT_TRUE(settings->isSnapEnabled());
    EXPECT_EQ(root().storedValue(Keys::focusAlpha), PlistValue(0.5));
}

TEST_F(SettingsJsonTest, ExtraSectionsGoOutAndComeBackAsArrays)
{
    const QJsonArray snippets{QJsonObject{{"trigger", ";sig"}, {"body", "Regards"}}};
    const QString text = settings->exportJSON({{"snippets", snippets}, {"notes", QJsonObject{{"a", "b"}}}});
    EXPECT_EQ(settings->importedSection("snippets", text), snippets);
    EXPECT_FALSE(settings->importedSection("notes", text).has_value());
    EXPECT_FALSE(settings->importedSection("missing", text).has_value());
    EXPECT_FALSE(settings->importedSection("snippets", R"({"app":"Other","snippets":[]})").has_value());
    EXPECT_EQ(settings->importedSection("snippets", R"({"app":"Quillon","snippets":[]})"), QJsonArray());

    // An extra may replace a built member, "values" included.
    const QJsonObject replaced =
        parse(settings->exportJSON({{"values", QJsonObject{{"snap.isEnabled", true}}}}));
    EXPECT_EQ(replaced.value("values").toObject(), (QJsonObject{{"snap.isEnabled", true}}));
}

TEST_F(SettingsJsonTest, DocumentSizeLimitCountsUtf8Bytes)
{
    const QString head = R"({"app":"Quillon","values":{"snap.isEnabled":true},"pad":")";
    const QString tail = "\"}";
    const qsizetype room = SettingsDocument::maxBytes - head.size() - tail.size();
    EXPECT_TRUE(settings->importJSON(head + QString("x").repeated(room) + tail));
    EXPECT_FALSE(settings->importJSON(head + QString("x").repeated(room + 1) + tail));
    // Fewer characters than the limit, but more bytes.
    EXPECT_FALSE(settings->importJSON(head + QString(QChar(0x20AC)).repeated(room / 2) + tail));
}

} // namespace
