#include "fakes/FakePlatform.h"
#include "support/FileLog.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

using namespace quillon;

namespace {

class FileLogTest : public ::testing::Test {
protected:
    void SetUp() override { Log::isDebugEnabled = true; }
    void TearDown() override { Log::isDebugEnabled = false; }

    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& path, const QByteArray& data)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }
    QString stamp(double secondsAgo) const
    {
        return FileLog::timestamp(fake.queue.now().addMSecs(-qint64(secondsAgo * 1000)));
    }
    // A file of `size` bytes made of dated lines `secondsAgo` old.
    QByteArray filler(qint64 size, double secondsAgo) const
    {
        const QByteArray line = (stamp(secondsAgo) + " " + QString(200, 'x') + "\n").toUtf8();
        QByteArray out;
        while (out.size() + line.size() <= size)
            out += line;
        const QByteArray last = (stamp(secondsAgo) + " ").toUtf8();
        out += last + QByteArray(size - out.size() - last.size() - 1, 'y') + "\n";
        return out;
    }

    fakes::FakePlatform fake;
};

TEST_F(FileLogTest, DisabledLoggingNeverBuildsTheMessage)
{
    Log::isDebugEnabled = false;
    bool built = false;
    Log::debug([&] {
        built = true;
        return QString("x");
    });
    Log::session([&] {
        built = true;
        return QString("x");
    });
    EXPECT_FALSE(built);
    EXPECT_FALSE(QFile::exists(FileLog::filePath()));
    EXPECT_TRUE(fake.log.lines.empty());
}

TEST_F(FileLogTest, MessageAndSessionLinesHaveTheirForms)
{
    Log::session([] { return QString("Quillon 1.0"); });
    Log::debug([] { return QString("hello\nworld"); });
    const QString now = FileLog::timestamp(fake.queue.now());
    EXPECT_EQ(QString::fromUtf8(read(FileLog::filePath())),
              now + " \u2550\u2550\u2550 Quillon 1.0 \u2550\u2550\u2550\n" + now + " hello\nworld\n");
    EXPECT_TRUE(now.endsWith('Z'));
    EXPECT_EQ(now.size(), 24); // 2026-03-01T09:00:00.000Z
    ASSERT_EQ(fake.log.lines.size(), 2u);
    EXPECT_EQ(fake.log.lines[1].category, "app");
}

TEST_F(FileLogTest, FirstWriteNeverRollsEvenWhenHuge)
{
    FileLog::appendRaw(QString(FileLog::rollSize + 100, 'a'));
    EXPECT_EQ(QFileInfo(FileLog::filePath()).size(), FileLog::rollSize + 100);
    EXPECT_FALSE(QFile::exists(FileLog::previousPath()));
}

TEST_F(FileLogTest, RollsOnlyPastTheRollSize)
{
    const QByteArray base = filler(FileLog::rollSize - 10, 90000);
    write(FileLog::filePath(), base);
    FileLog::appendRaw(QString(10, 'z')); // exactly 5,242,880 bytes
    EXPECT_FALSE(QFile::exists(FileLog::previousPath()));
    FileLog::appendRaw("!");
    EXPECT_TRUE(QFile::exists(FileLog::previousPath()));
    EXPECT_EQ(QFileInfo(FileLog::previousPath()).size(), FileLog::rollSize + 1);
    EXPECT_LT(QFileInfo(FileLog::filePath()).size(), 1000);
}

TEST_F(FileLogTest, RollKeepsTheLastDayAndCarriesTheSessionHeaderOver)
{
    const QString header = stamp(100000) + " \u2550\u2550\u2550 Quillon 1.0 \u2550\u2550\u2550";
    QByteArray content = (header + "\n").toUtf8();
    content += filler(FileLog::rollSize - 100, 90000);
    content += "crash block line without a stamp\n";
    const QString recent = stamp(60) + " recent line";
    content += (recent + "\n").toUtf8();
    write(FileLog::filePath(), content);
    FileLog::append("newest");

    const QStringList lines = QString::fromUtf8(read(FileLog::filePath())).split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], header + FileLog::carriedOverSuffix);
    EXPECT_TRUE(lines[1].contains(" \u2014 rolled: ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("older line(s) dropped, keeping the last 24h \u2014"));
    // The undated line goes with the old dated lines before it.
    EXPECT_EQ(lines[2], "crash block line without a stamp");
    EXPECT_EQ(lines[3], recent);
    EXPECT_TRUE(lines[4].endsWith(" newest"));
    EXPECT_EQ(read(FileLog::previousPath()).size(), content.size() + FileLog::timestamp(fake.queue.now()).size() + 8);
}

TEST_F(FileLogTest, RollWithEverythingRecentDropsTheOlderHalf)
{
    const QByteArray content = filler(FileLog::rollSize, 10);
    write(FileLog::filePath(), content);
    FileLog::appendRaw("x\n");
    const int pieces = QString::fromUtf8(content + "x\n").split('\n').size();
    const QString text = QString::fromUtf8(read(FileLog::filePath()));
    EXPECT_TRUE(text.contains(QString(" rolled: %1 older").arg(pieces / 2))) << text.left(200).toStdString();
    EXPECT_LT(QFileInfo(FileLog::filePath()).size(), FileLog::rollSize / 2 + 1000);
}

TEST_F(FileLogTest, RollAlwaysShrinksWhenOneOldLineLeadsARecentFile)
{
    // One old dated line on top gives a cut of 1; what is kept would still be
    // over the roll size, so at least half goes.
    QByteArray content = (stamp(100000) + " old\n").toUtf8() + filler(FileLog::rollSize, 10);
    write(FileLog::filePath(), content);
    FileLog::appendRaw("x\n");
    EXPECT_LT(QFileInfo(FileLog::filePath()).size(), FileLog::rollSize / 2 + 1000);
    const qint64 after = QFileInfo(FileLog::filePath()).size();
    FileLog::append("next");
    EXPECT_GT(QFileInfo(FileLog::filePath()).size(), after); // no second roll
}

TEST_F(FileLogTest, GarbledAndUndatedFileStillRolls)
{
    QByteArray content;
    while (content.size() < FileLog::rollSize)
        content += "garbled line without any stamp at all 2026-13-45T99:99\n";
    write(FileLog::filePath(), content);
    FileLog::appendRaw("x\n");
    EXPECT_LT(QFileInfo(FileLog::filePath()).size(), FileLog::rollSize / 2 + 1000);
}

TEST_F(FileLogTest, CutIndexAndSessionLineOnSmallFixtures)
{
    const QDateTime now = fake.queue.now();
    const QString old = stamp(100000), young = stamp(10);
    const QString marker = FileLog::sessionMarker;
    EXPECT_EQ(FileLog::cutIndex({old + " a", old + " b", young + " c", ""}, now, 86400), 2);
    EXPECT_EQ(FileLog::cutIndex({young + " a", young + " b", young + " c", ""}, now, 86400), 2);
    EXPECT_EQ(FileLog::cutIndex({"single"}, now, 86400), 0);
    EXPECT_EQ(FileLog::cutIndex({old + " a", "  ", "undated", young + " b"}, now, 86400), 1);

    const QStringList lines = {old + " " + marker + " S1 " + marker, old + " a", "", young + " " + marker + " S2 " + marker};
    EXPECT_EQ(FileLog::sessionLine(2, lines), std::nullopt); // the kept part opens with a header
    EXPECT_EQ(FileLog::sessionLine(1, lines), lines[0]);
    EXPECT_EQ(FileLog::sessionLine(0, lines), std::nullopt);
    EXPECT_EQ(FileLog::sessionLine(5, lines), std::nullopt);
}

TEST_F(FileLogTest, ClearEmptiesInPlaceSoTheCrashDescriptorStillLands)
{
    FileLog::append("before");
    const int fd = FileLog::openForCrashWriting();
    ASSERT_GE(fd, 0);
    write(FileLog::previousPath(), "old");
    FileLog::clear();
    EXPECT_FALSE(QFile::exists(FileLog::previousPath()));
    EXPECT_EQ(QFileInfo(FileLog::filePath()).size(), 0);
    ASSERT_EQ(::write(fd, "crash\n", 6), 6);
    EXPECT_TRUE(::fcntl(fd, F_GETFD) & FD_CLOEXEC); // a started process does not inherit it
    ::close(fd);
    EXPECT_EQ(read(FileLog::filePath()), QByteArray("crash\n"));
}

TEST_F(FileLogTest, SizeDescriptionAndReveal)
{
    EXPECT_EQ(FileLog::sizeDescription(), std::nullopt);
    FileLog::reveal();
    EXPECT_TRUE(QFile::exists(FileLog::filePath()));
    EXPECT_EQ(fake.workspaceImpl.revealed, std::vector<QString>{FileLog::filePath()});
    EXPECT_EQ(FileLog::sizeDescription(), std::nullopt);
    FileLog::appendRaw(QString(2500, 'a'));
    EXPECT_EQ(FileLog::sizeDescription(), QString("3 KB"));
    EXPECT_EQ(FileLog::byteCountText(999), "999 bytes");
    EXPECT_EQ(FileLog::byteCountText(5242880), "5.2 MB");
}

} // namespace
