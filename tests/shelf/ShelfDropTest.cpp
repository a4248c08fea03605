#include "shelf/ShelfDrop.h"

#include "fakes/FakePlatform.h"
#include "shelf/PromiseWait.h"
#include "support/Log.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quillon {
namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage sample()
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30));
    image.setPixelColor(2, 1, QColor(250, 0, 0));
    return image;
}

class ShelfDropTest : public ::testing::Test {
protected:
    ShelfDropTest() { Log::isDebugEnabled = true; }
    ~ShelfDropTest() override { Log::isDebugEnabled = false; }

    QString file(const QString& name)
    {
        const QString path = files.path() + QLatin1Char('/') + name;
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(name.toUtf8());
        return path;
    }
    QStringList scratchFolders() const
    {
        return QDir(fake.pathsImpl.tempDir()).entryList({"shelf-promise-*"}, QDir::Dirs);
    }
    QStringList logged() const
    {
        QStringList lines;
        for (const auto& line : fake.log.lines)
            lines.push_back(line.message);
        return lines;
    }
    /// Receives, noting whether the files came before receive returned.
    bool receive(const DragData& drag)
    {
        // A member, not a local: later deliveries come from the main queue,
        // after this call has returned.
        receiveReturned = false;
        const bool result = ShelfDrop::receive(drag, [this](const QList<QUrl>& urls) {
            ++deliveries;
            delivered = urls;
            deliveredAtOnce = !receiveReturned;
        });
        receiveReturned = true;
        return result;
    }
    static QStringList names(const QList<QUrl>& urls)
    {
        QStringList list;
        for (const QUrl& url : urls)
            list.push_back(QFileInfo(url.toLocalFile()).fileName());
        return list;
    }
    static QByteArray read(const QUrl& url)
    {
        QFile in(url.toLocalFile());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    fakes::FakePlatform fake;
    QTemporaryDir files;
    QList<QUrl> delivered;
    int deliveries = 0;
    bool deliveredAtOnce = false;
    bool receiveReturned = false;
};

TEST_F(ShelfDropTest, ReceivesFilesOrImageData)
{
    const QByteArray png = encoded(sample(), "PNG");
    const QByteArray jpeg = encoded(sample(), "JPEG");
    const QByteArray tiff = encoded(sample(), "TIFF");
    const QUrl one = QUrl::fromLocalFile(file("one.txt")), two = QUrl::fromLocalFile(file("two.txt"));
    const QUrl gone = QUrl::fromLocalFile(files.path() + "/gone.txt");
    const auto image = [](const char* type, const QByteArray& data) {
        DragData drag;
        drag.types = {type};
        drag.items.push_back({std::nullopt, std::nullopt, {{type, data}}});
        return drag;
    };
    const auto urls = [](QList<QUrl> list) {
        DragData drag;
        drag.types = {"text/uri-list"};
        drag.fileUrls = list;
        for (const QUrl& url : list)
            drag.items.push_back({url, std::nullopt, {}});
        return drag;
    };
    DragData secondItemOnly = image("image/jpeg", jpeg);
    secondItemOnly.items.insert(secondItemOnly.items.begin(), DragData::Item{});
    DragData filesWinOverData = urls({one});
    filesWinOverData.items.front().data.insert("image/png", png);
    DragData text;
    text.types = {"text/plain"};
    text.items.push_back({});

    struct Row {
        const char* what;
        DragData drag;
        bool result;
        QStringList names; // delivered
        QString log;
        QByteArray firstContent = {};
    };
    const Row rows[] = {
        {"two files", urls({one, two}), true, {"one.txt", "two.txt"}, "Shelf drop: 2 file URL(s)"},
        {"an unreadable file beside a readable one",
         urls({gone, two}),
         true,
         {"two.txt"},
         "Shelf drop: 1 file URL(s)"},
        {"files win over data", filesWinOverData, true, {"one.txt"}, "Shelf drop: 1 file URL(s)"},
        {"only unreadable files", urls({gone}), false, {}, {}},
        {"PNG data",
         image("image/png", png),
         true,
         {"Dropped Image 1.png"},
         "Shelf drop: pasteboard image data",
         png},
        {"JPEG data",
         image("image/jpeg", jpeg),
         true,
         {"Dropped Image 1.jpg"},
         "Shelf drop: pasteboard image data",
         jpeg},
        {"PDF data", image("application/pdf", "%PDF-1.4"), true, {"Dropped Image 1.pdf"}, {}, "%PDF-1.4"},
        {"TIFF data",
         image("image/tiff", tiff),
         true,
         {"Dropped Image 1.png"},
         "Shelf drop: pasteboard image data"},
        {"TIFF that does not decode", image("image/tiff", "II*\0junk"), false, {}, {}},
        {"data of the second item", secondItemOnly, true, {"Dropped Image 2.jpg"}, {}, jpeg},
        {"nothing usable", text, false, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fake.log.lines.clear();
        delivered.clear();
        deliveries = 0;
        for (const QString& folder : scratchFolders())
            QDir(fake.paths().tempDir() + "/" + folder).removeRecursively();

        EXPECT_EQ(receive(row.drag), row.result);
        const bool files = row.drag.fileUrls.size() > 0 && row.result;
        EXPECT_EQ(deliveries, files ? 1 : 0); // plain files come at once, the rest on the main queue
        fake.queue.drain();
        EXPECT_EQ(deliveries, row.result ? 1 : 0);
        EXPECT_EQ(names(delivered), row.names);
        EXPECT_EQ(scratchFolders().size(), row.result && !files ? 1 : 0);
        EXPECT_TRUE(logged().contains(
            QStringLiteral("Shelf drop types: [\"%1\"]").arg(row.drag.types.join("\", \""))))
            << logged().join('\n').toStdString();
        if (!row.log.isEmpty()) {
            EXPECT_TRUE(logged().contains(row.log)) << logged().join('\n').toStdString();
        }
        if (!row.firstContent.isEmpty()) {
            EXPECT_EQ(read(delivered.first()), row.firstContent);
        }
        if (QString(row.what) == "TIFF data") {
            const QImage back = QImage::fromData(read(delivered.first()), "PNG");
            EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32), sample());
            EXPECT_TRUE(back.textKeys().isEmpty());
        }
    }
}

TEST_F(ShelfDropTest, ReadsADropsData)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file("a.JPG")), QUrl::fromLocalFile(file("b")),
                  QUrl("https://example.org/c.png")});
    mime.setData("image/png", "png bytes");
    const DragData drag = DragData::fromMimeData(mime);
    EXPECT_EQ(names(drag.fileUrls), (QStringList{"a.JPG", "b"}));
    EXPECT_TRUE(ShelfDrop::carriesFiles(drag));
    EXPECT_EQ(ShelfDrop::draggedContentTypes(drag),
              (std::vector<std::optional<QString>>{QString("image/jpeg"), std::nullopt}));
    EXPECT_EQ(drag.items.front().data.value("image/png"), "png bytes");

    QMimeData plain;
    plain.setText("hello");
    EXPECT_FALSE(ShelfDrop::carriesFiles(DragData::fromMimeData(plain)));

    // Promises alone carry files; their items' types come from the promise.
    auto receiver = std::make_shared<fakes::FakePromiseReceiver>();
    fake.filePromisesImpl.next = {receiver};
    DragData promised = DragData::fromMimeData(plain);
    EXPECT_TRUE(ShelfDrop::carriesFiles(promised));
    promised.items = {{std::nullopt, QString("image/png"), {}}, {}};
    EXPECT_EQ(ShelfDrop::draggedContentTypes(promised),
              (std::vector<std::optional<QString>>{QString("image/png"), std::nullopt}));
    EXPECT_TRUE(ShelfDrop::draggedTypes().contains("text/uri-list"));
    EXPECT_TRUE(ShelfDrop::draggedTypes().contains("XdndDirectSave0"));

    // A drag under way that the probe cannot look into.
    fake.dragProbeImpl.startDrag({}, {}, true);
    const DragData probed = DragData::fromProbe(fake.dragProbeImpl);
    EXPECT_TRUE(ShelfDrop::carriesFiles(probed));
    EXPECT_EQ(ShelfDrop::draggedContentTypes(probed), std::vector<std::optional<QString>>{std::nullopt});
}

class ShelfDropPromises : public ShelfDropTest {
protected:
    std::shared_ptr<fakes::FakePromiseReceiver> promise(QStringList types,
                                                        std::vector<fakes::FakePromiseReceiver::File> files)
    {
        auto receiver = std::make_shared<fakes::FakePromiseReceiver>();
        receiver->types = std::move(types);
        for (const auto& f : files)
            receiver->names.push_back(f.name);
        receiver->files = std::move(files);
        drag.receivers.push_back(receiver);
        return receiver;
    }
    int count(const QString& line) const { return int(logged().count(line)); }

    DragData drag;
};

TEST_F(ShelfDropPromises, DeliverAfterTheLastReport)
{
    auto three = promise({"image/png", "image/png", "image/png"},
                         {{"a.png", "A", {}}, {"b.png", "B", {}}, {"c.png", "C", {}}});
    ASSERT_TRUE(receive(drag));
    EXPECT_TRUE(logged().contains("Shelf drop: calling in 1 file promise(s)"));
    ASSERT_TRUE(three->asked());
    three->deliver({0, 1});
    fake.queue.drain();
    EXPECT_EQ(deliveries, 0);
    three->deliver({2});
    fake.queue.drain();
    EXPECT_EQ(deliveries, 1);
    QStringList got = names(delivered);
    got.sort();
    EXPECT_EQ(got, (QStringList{"a.png", "b.png", "c.png"}));
    fake.queue.advance(3.0);
    EXPECT_EQ(deliveries, 1);
    EXPECT_EQ(count("Shelf: promise timeout \u2014 falling back to pasteboard data"), 0);
}

TEST_F(ShelfDropPromises, AFailedPromiseCountsAsReported)
{
    auto failing = promise({}, {{"bad.png", {}, QString("disk full")}});
    auto good = promise({"image/png"}, {{"good.png", "G", {}}});
    ASSERT_TRUE(receive(drag));
    failing->deliver({0});
    good->deliver({0});
    fake.queue.drain();
    EXPECT_EQ(names(delivered), QStringList{"good.png"});
    EXPECT_EQ(count("Shelf: file promise failed: disk full"), 1);
}

TEST_F(ShelfDropPromises, TheTimeOutDeliversOnlyFinishedFiles)
{
    auto source = promise({"image/png", "image/png"}, {{"done.png", "D", {}}, {"slow.png", "S", {}}});
    ASSERT_TRUE(receive(drag));
    source->deliver({0});
    // The second file is still being written when the time runs out.
    QFile partial(source->folder + "/slow.png");
    ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
    partial.write("S-half");
    partial.close();
    fake.queue.advance(2.9);
    EXPECT_EQ(deliveries, 0);
    fake.queue.advance(0.1);
    EXPECT_EQ(deliveries, 1);
    EXPECT_EQ(names(delivered), QStringList{"done.png"});
    EXPECT_EQ(count("Shelf: promise timeout \u2014 falling back to pasteboard data"), 1);
    source->deliver({1}); // late: ignored
    fake.queue.drain();
    EXPECT_EQ(deliveries, 1);
}

TEST_F(ShelfDropPromises, SilentPromisesFallBackToTheImageData)
{
    const QByteArray tiff = encoded(sample(), "TIFF");
    struct Row {
        const char* promisedName;
        const char* delivered;
    };
    const Row rows[] = {
        {"Screenshot.heic", "Screenshot.heic"},
        {"../../outside/evil.png", "evil.png"},
        {"..", "Dropped Image 1.png"},
        {"", "Dropped Image 1.png"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.promisedName);
        drag = {};
        deliveries = 0;
        promise({}, {{row.promisedName, "X", {}}});
        drag.items.push_back({std::nullopt, QString("public.heic"), {{"image/tiff", tiff}}});
        ASSERT_TRUE(receive(drag));
        fake.queue.advance(3.0);
        ASSERT_EQ(deliveries, 1);
        ASSERT_EQ(names(delivered), QStringList{row.delivered});
        EXPECT_EQ(QImage::fromData(read(delivered.first()), "PNG").convertToFormat(QImage::Format_ARGB32),
                  sample());
        EXPECT_EQ(QFileInfo(delivered.first().toLocalFile()).path(),
                  static_cast<fakes::FakePromiseReceiver&>(*drag.receivers.front()).folder);
    }
}

TEST(ShelfDrop, PromiseWaitLetsOnlyTheFirstFinisherDeliver)
{
    // Three reports racing on threads of their own; run under ThreadSanitizer
    // as well, where the lock is what is being checked.
    for (int round = 0; round < 50; ++round) {
        PromiseWait wait(3);
        std::atomic<int> finishers = 0;
        std::vector<std::thread> threads;
        for (int i = 0; i < 3; ++i)
            threads.emplace_back([&, i] {
                if (wait.report(QString("/f%1").arg(i), std::nullopt))
                    ++finishers;
            });
        for (auto& thread : threads)
            thread.join();
        EXPECT_EQ(finishers, 1);
        EXPECT_FALSE(wait.timeOut());
        EXPECT_EQ(wait.received().size(), 3);
    }
    PromiseWait early(2);
    EXPECT_TRUE(early.timeOut());
    EXPECT_FALSE(early.report("/late", std::nullopt));
    EXPECT_FALSE(early.report("/later", std::nullopt));
    EXPECT_TRUE(early.received().isEmpty());
    PromiseWait none(0); // a receiver declaring no types still sends one file
    EXPECT_TRUE(none.report("/only", std::nullopt));
}

} // namespace
} // namespace quillon
