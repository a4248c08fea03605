#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <optional>

namespace quillon {

/// The keep-awake line of the status menu: "until 17:30 tomorrow, because
/// Zoom", "no time limit".
class AwakeMenuText {
public:
    AwakeMenuText() = delete;

    static QString detail(const std::optional<QDateTime>& endsAt, const std::optional<QString>& trigger,
                          const QDateTime& now, const QLocale& locale, const QTimeZone& timeZone);
};

} // namespace quillon
