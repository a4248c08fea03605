#include "platform/linux/QtPasteboard.h"

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

QStringList QtPasteboard::types()
{
    watch();
    QStringList targets;
    if (ownsClipboard()) {
        if (const QMimeData* data = clipboard()->mimeData(QClipboard::Clipboard)) {
            targets = data->formats();
            if (data->hasText())
                targets << utf8Targets.first();
        }
    } else {
        if (!m_reader)
            m_reader = SelectionReader::open();
        if (m_reader)
            targets = m_reader->targets("CLIPBOARD", std::chrono::steady_clock::now() + readTimeout)
                          .value_or(QStringList());
    }
    QStringList types;
    for (const QString& target : targets) {
        const QString type = utf8Targets.contains(target) ? plainTextType : target;
        if (!protocolTargets.contains(target) && !types.contains(type))
            types << type;
    }
    if (types.contains(passwordHint) && !types.contains(concealedType) && read(passwordHint) == "secret")
        types << concealedType;
    return types;
}

std::optional<QString> QtPasteboard::string(const QString& type)
{
    watch();
    if (type == plainTextType) {
        for (const QString& target : utf8Targets)
            if (std::optional<QByteArray> bytes = read(target))
                return QString::fromUtf8(*bytes);
        return std::nullopt;
    }
    if (std::optional<QByteArray> bytes = read(type))
        return QString::fromUtf8(*bytes);
    // A password manager's hint marks the text concealed.
    if (type == concealedType && read(passwordHint) == "secret")
        return QString(QLatin1String(""));
    return std::nullopt;
}

} // namespace quillon::platform::linux_
