#include "features/clipboard/ClipboardStore.h"

#include "platform/Platform.h"

namespace quillon {

bool ClipboardStore::ingest(const QString& text)
{
    if (text.trimmed().isEmpty() || text.toUtf8().size() > maxTextBytes)
        return false;
    if (!m_entries.empty() && m_entries.front().text == text)
        return false;
    m_entries.insert(m_entries.begin(), ClipboardEntry{text, platform::platform().clock().now()});
    return true;
}

} // namespace quillon
