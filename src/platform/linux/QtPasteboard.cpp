#include "platform/linux/QtPasteboard.h"

#include "platform/linux/SelectionReadThread.h"
#include "platform/linux/SelectionReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quillon::platform::linux_ {

namespace {

// An owner that has not answered by then reads as none.
constexpr auto readTimeout = std::chrono::milliseconds(500);

const QString passwordHint = QStringLiteral("x-kde-passwordManagerHint");
// The X targets and MIME types that carry UTF-8 text.
const QStringList utf8Targets = {QStringLiteral("UTF8_STRING"), QStringLiteral("text/plain;charset=utf-8")};
// Targets of the selection protocol itself, or text in older encodings.
const QStringList protocolTargets = {
    QStringLiteral("TARGETS"),      QStringLiteral("TIMESTAMP"),     QStringLiteral("MULTIPLE"),
    QStringLiteral("SAVE_TARGETS"), QStringLiteral("DELETE"),        QStringLiteral("STRING"),
    QStringLiteral("TEXT"),         QStringLiteral("COMPOUND_TEXT"), QStringLiteral("text/plain")};

QClipboard* clipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                        : nullptr;
}

using ReadTarget = std::function<std::optional<QByteArray>(const QString&)>;

// Our types for the owner's X targets: text under the plain-text type, the
// protocol's own targets left out, a password manager's hint as concealed.
QStringList typesFrom(const QStringList& targets, const ReadTarget& read)
{
    QStringList types;
    for (const QString& target : targets) {
        const QString type = utf8Targets.contains(target) ? Pasteboard::plainTextType : target;
        if (!protocolTargets.contains(target) && !types.contains(type))
            types << type;
    }
    const QString concealed = Pasteboard::concealedType;
    if (types.contains(passwordHint) && !types.contains(concealed) && read(passwordHint) == "secret")
        types << concealed;
    return types;
}

std::optional<QString> stringFrom(const QString& type, const ReadTarget& read)
{
    if (type == Pasteboard::plainTextType) {
        for (const QString& target : utf8Targets)
            if (std::optional<QByteArray> bytes = read(target))
                return QString::fromUtf8(*bytes);
        return std::nullopt;
    }
    if (std::optional<QByteArray> bytes = read(type))
        return QString::fromUtf8(*bytes);
    // A password manager's hint marks the text concealed.
    if (type == Pasteboard::concealedType && read(passwordHint) == "secret")
        return QString(QLatin1String(""));
    return std::nullopt;
}

PasteboardContents contentsFrom(const QStringList& targets, const ReadTarget& read, const QStringList& wanted)
{
    PasteboardContents contents;
    contents.types = typesFrom(targets, read);
    for (const QString& type : wanted)
        if (contents.types.contains(type))
            if (std::optional<QString> text = stringFrom(type, read))
                contents.strings.emplace(type, *text);
    return contents;
}

} // namespace

QtPasteboard::QtPasteboard() = default;
QtPasteboard::~QtPasteboard() = default;

void QtPasteboard::watch()
{
    if (m_watching)
        return;
    QClipboard* board = clipboard();
    if (!board)
        return;
    m_watching = true;
    // Qt learns of every new owner through XFixes, and of its own at once.
    QObject::connect(board, &QClipboard::changed, &m_context, [this](QClipboard::Mode mode) {
        if (mode != QClipboard::Clipboard || m_inWrite)
            return;
        // Our own write was counted when it was made; Qt may tell of it again.
        if (m_ownWriteCounted && ownsClipboard()) {
            m_ownWriteCounted = false;
            return;
        }
        m_ownWriteCounted = false;
        ++m_changeCount;
    });
}

int QtPasteboard::changeCount()
{
    watch();
    return m_changeCount;
}

void QtPasteboard::clear()
{
    watch();
    if (QClipboard* board = clipboard())
        board->clear(QClipboard::Clipboard);
}

bool QtPasteboard::writeString(const QString& text)
{
    return write({{plainTextType, text}});
}

bool QtPasteboard::write(const std::vector<PasteboardItem>& items)
{
    watch();
    QClipboard* board = clipboard();
    if (!board)
        return false;
    auto* data = new QMimeData;
    for (const PasteboardItem& item : items) {
        // Qt offers text/plain under the X11 text targets as well (UTF8_STRING,
        // STRING, TEXT), so older clients can paste it too.
        if (item.type == plainTextType)
            data->setText(item.value);
        else
            data->setData(item.type, item.value.toUtf8());
        if (item.type == transientType)
            data->setData(passwordHint, "secret");
    }
    // Callers read the count right after a write: it moves here, once.
    m_inWrite = true;
    board->setMimeData(data, QClipboard::Clipboard);
    m_inWrite = false;
    ++m_changeCount;
    m_ownWriteCounted = true;
    return true;
}

bool QtPasteboard::ownsClipboard() const
{
    QClipboard* board = clipboard();
    return board && board->ownsClipboard();
}

std::optional<QByteArray> QtPasteboard::read(const QString& target)
{
    if (ownsClipboard()) {
        const QMimeData* data = clipboard()->mimeData(QClipboard::Clipboard);
        if (!data)
            return std::nullopt;
        if (utf8Targets.contains(target))
            return data->hasText() ? std::optional(data->text().toUtf8()) : std::nullopt;
        return data->hasFormat(target) ? std::optional(data->data(target)) : std::nullopt;
    }
    if (!m_reader)
        m_reader = SelectionReader::open();
    if (!m_reader)
        return std::nullopt;
    return m_reader->read("CLIPBOARD", target, std::chrono::steady_clock::now() + readTimeout);
}

QStringList QtPasteboard::ownTargets() const
{
    QStringList targets;
    if (const QMimeData* data = clipboard()->mimeData(QClipboard::Clipboard)) {
        targets = data->formats();
        if (data->hasText())
            targets << utf8Targets.first();
    }
    return targets;
}

QStringList QtPasteboard::types()
{
    watch();
    QStringList targets;
    if (ownsClipboard()) {
        targets = ownTargets();
    } else {
        if (!m_reader)
            m_reader = SelectionReader::open();
        if (m_reader)
            targets = m_reader->targets("CLIPBOARD", std::chrono::steady_clock::now() + readTimeout)
                          .value_or(QStringList());
    }
    return typesFrom(targets, [this](const QString& target) { return read(target); });
}

std::optional<QString> QtPasteboard::string(const QString& type)
{
    watch();
    return stringFrom(type, [this](const QString& target) { return read(target); });
}

void QtPasteboard::read(const QStringList& wanted, std::function<void(PasteboardContents)> done)
{
    watch();
    if (ownsClipboard()) {
        // Our own clipboard is at hand; the answer still comes on a later
        // turn, as for any other owner.
        auto contents = std::make_shared<PasteboardContents>(contentsFrom(
            ownTargets(), [this](const QString& target) { return read(target); }, wanted));
        QMetaObject::invokeMethod(
            &m_context, [contents, done = std::move(done)] { done(*contents); }, Qt::QueuedConnection);
        return;
    }
    if (!m_readThread)
        m_readThread = std::make_unique<SelectionReadThread>();
    QObject* context = &m_context;
    m_readThread->post([context, wanted, done = std::move(done)](SelectionReader* reader) {
        auto contents = std::make_shared<PasteboardContents>();
        if (reader) {
            // One deadline for the whole read: the targets and every text.
            const auto deadline = std::chrono::steady_clock::now() + readTimeout;
            if (const std::optional<QStringList> targets = reader->targets("CLIPBOARD", deadline))
                *contents = contentsFrom(
                    *targets,
                    [reader, deadline](const QString& target) {
                        return reader->read("CLIPBOARD", target, deadline);
                    },
                    wanted);
        }
        QMetaObject::invokeMethod(
            context, [contents, done] { done(*contents); }, Qt::QueuedConnection);
    });
}

} // namespace quillon::platform::linux_
