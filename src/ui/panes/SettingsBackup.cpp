#include "ui/panes/SettingsBackup.h"

#include "features/snippets/SnippetStore.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/SettingsDocument.h"
#include "support/AtomicFile.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QPointer>
#include <QStringDecoder>
#include <QUuid>

namespace quillon {

namespace {

const QString couldNotSave = QStringLiteral("Couldn’t save");
const QString notOurs = QStringLiteral("Not a Quillon settings file");
const QString imported = QStringLiteral("Settings imported");

} // namespace

SettingsBackup::SettingsBackup(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
{
}

void SettingsBackup::flash(const QString& text, bool ok)
{
    m_status = Status{text, ok};
    emit statusChanged();
    QPointer<SettingsBackup> self(this);
    platform::platform().mainQueue().after(statusLifetime, [self, text] {
        if (!self || !self->m_status || self->m_status->text != text)
            return;
        self->m_status.reset();
        emit self->statusChanged();
    });
}

bool SettingsBackup::savesToShelf() const
{
    return m_services.settings.isShelfEnabled() && m_services.shelfActive && m_services.shelfActive();
}

std::optional<QString> SettingsBackup::write(const QString& folder, const QByteArray& data)
{
    const QString path = QDir(folder).filePath(fileName);
    QString error;
    // A failure inside this leaves an older backup of that name as it was.
    if (!QDir().mkpath(folder) || !AtomicFile::write(path, data, &error)) {
        Log::error(QStringLiteral("Settings backup: couldn’t write %1: %2").arg(path, error));
        return std::nullopt;
    }
    return path;
}

void SettingsBackup::exportToFile()
{
    QJsonObject extras;
    extras.insert(QStringLiteral("snippets"), m_services.snippets.exportEntries());
    const QByteArray data = m_services.settings.exportJSON(extras).toUtf8();
    // A file the import would refuse is no backup.
    if (data.size() > SettingsDocument::maxBytes) {
        Log::error(QStringLiteral("Settings backup: %1 bytes is more than an import takes (%2); not saved")
                       .arg(data.size())
                       .arg(SettingsDocument::maxBytes));
        flash(couldNotSave, false);
        return;
    }
    if (savesToShelf()) {
        const QString folder =
            QDir(m_services.tempDir).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
        const auto path = write(folder, data);
        if (!path) {
            flash(couldNotSave, false);
            return;
        }
        if (m_services.addToShelf)
            m_services.addToShelf({QUrl::fromLocalFile(*path)});
        flash(QStringLiteral("Saved to the shelf"), true);
        return;
    }
    const auto path = write(m_services.desktopDir, data);
    if (!path) {
        flash(couldNotSave, false);
        return;
    }
    platform::platform().workspace().reveal(*path);
    flash(QStringLiteral("Saved to the Desktop"), true);
}

std::optional<QString> SettingsBackup::readImport(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > SettingsDocument::maxBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The size may have changed since it was looked at: never read past the limit.
    const QByteArray data = file.read(SettingsDocument::maxBytes + 1);
    if (data.size() > SettingsDocument::maxBytes || file.error() != QFileDevice::NoError)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(data);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

void SettingsBackup::importFile(const QString& path)
{
    QPointer<SettingsBackup> self(this);
    platform::platform().tasks().runWithResult<std::optional<QString>>([path] { return readImport(path); },
                                                                       [self](std::optional<QString> text) {
                                                                           if (self)
                                                                               self->applyImport(text);
                                                                       });
}

bool SettingsBackup::handleDrop(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            importFile(url.toLocalFile());
            return true;
        }
    }
    return false;
}

void SettingsBackup::applyImport(const std::optional<QString>& text)
{
    if (!text || !m_services.settings.importJSON(*text)) {
        flash(notOurs, false);
        return;
    }
    const auto snippets = m_services.settings.importedSection(QStringLiteral("snippets"), *text);
    const int taken = snippets ? m_services.snippets.importEntries(*snippets) : 0;
    if (m_services.refresh)
        m_services.refresh();
    if (taken == 0) {
        flash(imported, true);
        return;
    }
    flash(QStringLiteral("%1 · %2 snippet%3").arg(imported).arg(taken).arg(taken == 1 ? "" : "s"), true);
}

} // namespace quillon
