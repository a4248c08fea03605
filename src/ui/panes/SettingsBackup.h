#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace quillon {

class Settings;
class SnippetStore;

/// The General pane's backup: saves the active profile's settings with the
/// saved snippets into one file, reads such a file back, and keeps the short
/// status line that reports either.
class SettingsBackup final : public QObject {
    Q_OBJECT

public:
    /// What the backup works with; the pane fills it from the application,
    /// tests from their own folders.
    struct Services {
        Settings& settings;
        SnippetStore& snippets;
        /// The shelf feature runs (the file can be handed to it).
        std::function<bool()> shelfActive;
        std::function<void(const QList<QUrl>&)> addToShelf;
        QString desktopDir;
        QString tempDir;
        /// Redraws the pane after an import.
        std::function<void()> refresh;
    };
    struct Status {
        QString text;
        bool ok = false;
        bool operator==(const Status&) const = default;
    };

    static inline const QString fileName = QStringLiteral("Quillon-Settings.json");
    /// How long a status line stays, in seconds.
    static constexpr double statusLifetime = 3.0;

    explicit SettingsBackup(Services services, QObject* parent = nullptr);

    std::optional<Status> status() const { return m_status; }
    /// Shows the status, and clears it after its lifetime unless a newer one
    /// has replaced it by then.
    void flash(const QString& text, bool ok);

    /// Where a save goes: the shelf only while the shelf is switched on and
    /// running; anywhere else a file in a hidden temporary folder would be lost.
    bool savesToShelf() const;
    /// Writes the backup file and reports where it went.
    void exportToFile();
    /// Reads the file off the main thread and applies it on it.
    void importFile(const QString& path);
    /// The first local file of a drop, imported; false when there is none.
    bool handleDrop(const QList<QUrl>& urls);
    /// Applies a document's text (none: it could not be read).
    void applyImport(const std::optional<QString>& text);

    /// The file's text, or none when it is no regular file, cannot be read,
    /// is larger than a backup can be, or is not UTF-8. Safe off the main
    /// thread.
    static std::optional<QString> readImport(const QString& path);

signals:
    void statusChanged();

private:
    /// Writes `data` as the backup file in `folder`; the path, or none.
    std::optional<QString> write(const QString& folder, const QByteArray& data);

    Services m_services;
    std::optional<Status> m_status;
};

} // namespace quillon
