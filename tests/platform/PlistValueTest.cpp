#include "platform/PlistValue.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using quillon::platform::PlistValue;
using quillon::platform::StringDictionary;

namespace {

struct TypedRead {
    PlistValue value;
    bool asBool;
    qint64 asInt;
    double asDouble;
};

TEST(PlistValue, TypedReadsFollowTheDefaultsDatabase)
{
    const std::vector<TypedRead> cases = {
        {true, true, 1, 1.0},
        {false, false, 0, 0.0},
        {qint64(7), true, 7, 7.0},
        {qint64(0), false, 0, 0.0},
        {2.9, true, 2, 2.9},
        {-2.9, true, -2, -2.9},
        {0.0, false, 0, 0.0},
        {"YES", true, 0, 0.0},
        {"yes", true, 0, 0.0},
        {"True", true, 0, 0.0},
        {"no", false, 0, 0.0},
        {"2", true, 2, 2.0},
        {"2.5", true, 2, 2.5},
        {"0", false, 0, 0.0},
        {"abc", false, 0, 0.0},
        {"", false, 0, 0.0},
        {QStringList{"a"}, false, 0, 0.0},
        {StringDictionary{{"a", "b"}}, false, 0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.debugDescription().toStdString());
        EXPECT_EQ(c.value.toBool(), c.asBool);
        EXPECT_EQ(c.value.toInt(), c.asInt);
        EXPECT_DOUBLE_EQ(c.value.toDouble(), c.asDouble);
    }
}

TEST(PlistValue, HugeDoublesClampInsteadOfOverflowing)
{
    EXPECT_EQ(PlistValue(1e300).toInt(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(PlistValue("-1e300").toInt(), std::numeric_limits<qint64>::min());
}

TEST(PlistValue, ObjectEqualityComparesNumbersByValue)
{
    struct Case {
        PlistValue a, b;
        bool equal;
    };
    const std::vector<Case> cases = {
        {qint64(2), 2.0, true},     {true, qint64(1), true}, {false, 0.0, true},
        {"1", qint64(1), false},    {qint64(2), qint64(3), false}, {"a", "a", true},
        {QStringList{"a", "b"}, QStringList{"a", "b"}, true}, {QStringList{"a"}, QStringList{"b"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a.debugDescription().toStdString() + " vs " + c.b.debugDescription().toStdString());
        EXPECT_EQ(c.a.isEqualAsObject(c.b), c.equal);
        EXPECT_EQ(c.b.isEqualAsObject(c.a), c.equal);
    }
}

TEST(PlistValue, TaggedJsonKeepsEveryKind)
{
    const std::vector<PlistValue> values = {true,
                                            qint64(2),
                                            2.0,
                                            qint64(9007199254740993), // past 2^53
                                            "text",
                                            QStringList{"b", "a"},
                                            StringDictionary{{"k", "v"}}};
    for (const auto& value : values) {
        auto back = PlistValue::fromTaggedJson(value.toTaggedJson());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->kind(), value.kind());
        EXPECT_EQ(*back, value);
    }
}

TEST(PlistValue, MalformedTaggedJsonIsRejected)
{
    const char* documents[] = {
        R"({"type":"bool","value":1})",  R"({"type":"int","value":"x"})", R"({"type":"strings","value":[1]})",
        R"({"type":"nope","value":1})",  R"({"value":true})",             R"({"type":"dictionary","value":{"a":1}})",
    };
    for (const char* doc : documents) {
        SCOPED_TRACE(doc);
        const auto json = QJsonDocument::fromJson(doc).object();
        EXPECT_FALSE(PlistValue::fromTaggedJson(json).has_value());
    }
}

TEST(PlistValue, PlainJsonReadsBackTheShapesTheStoreKeeps)
{
    struct Case {
        const char* json; // the member "v" of a document
        std::optional<PlistValue> value;
    };
    const std::vector<Case> cases = {
        {"true", PlistValue(true)},
        {"2", PlistValue(qint64(2))},
        {"2.0", PlistValue(qint64(2))}, // JSON has no integer kind: a whole number is one
        {"9007199254740993", PlistValue(qint64(9007199254740993))},
        {"0.25", PlistValue(0.25)},
        {"1e300", PlistValue(1e300)},
        {R"("x")", PlistValue("x")},
        {R"(["b","a"])", PlistValue(QStringList{"b", "a"})},
        {"[]", PlistValue(QStringList{})},
        {R"({"k":"v"})", PlistValue(StringDictionary{{"k", "v"}})},
        {"null", std::nullopt},
        {R"(["a",null])", std::nullopt},
        {"[1]", std::nullopt},
        {R"([["a"]])", std::nullopt},
        {R"({"k":1})", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        const auto doc = QJsonDocument::fromJson(QByteArray(R"({"v":)") + c.json + "}");
        ASSERT_TRUE(doc.isObject());
        EXPECT_EQ(PlistValue::fromJson(doc.object().value("v")), c.value);
    }
    // An integer goes out and comes back exactly, past the precision of a double.
    const PlistValue big(qint64(9007199254740993));
    const QJsonObject out{{"v", big.toJson()}};
    EXPECT_EQ(PlistValue::fromJson(QJsonDocument::fromJson(QJsonDocument(out).toJson()).object().value("v")), big);
}

} // namespace
