#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillon {

/// The plain-text debug file: timestamped lines, session headers, and a roll
/// past 5 MiB that keeps the last 24 hours.
class FileLog {
public:
    static constexpr qint64 rollSize = 5242880;
    static constexpr double retention = 86400.0;
    static const QString sessionMarker;
    static const QString carriedOverSuffix;

    static QString directory();
    static QString filePath();
    static QString previousPath();

    static void append(const QString& message);
    static void appendSession(const QString& text);
    static void appendRaw(const QString& text);

    /// A write-only, append-mode descriptor on the debug file (created empty
    /// when missing), or a negative value.
    static int openForCrashWriting();

    /// The file's size for people ("2 KB"), none when missing or empty.
    static std::optional<QString> sizeDescription();
    static QString byteCountText(qint64 bytes);

    /// Shows the debug file in the file manager (created empty when missing).
    static void reveal();
    /// Empties the debug file in place and removes its predecessor. The crash
    /// reporter holds a descriptor on the file, so it is never deleted.
    static void clear();

    /// "2026-03-01T09:15:02.481Z"
    static QString timestamp(const QDateTime& time);
    static std::optional<QDateTime> parseTimestamp(const QString& word);

    /// How many leading lines a roll drops.
    static int cutIndex(const QStringList& lines, const QDateTime& now, double retaining);
    /// The session header in effect at line `index`, when the kept part does
    /// not already open with one.
    static std::optional<QString> sessionLine(int index, const QStringList& lines);

private:
    static void rotate();
};

} // namespace quillon
