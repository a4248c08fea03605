#pragma once

#include <QString>
#include <QUuid>

namespace quillon {

/// A stored text inserted by its trigger; its body may hold placeholders.
struct Snippet {
    QUuid id;
    QString trigger;
    QString body;

    bool operator==(const Snippet&) const = default;

    /// The one-line summary shown in lists: the first non-blank line, at most
    /// 60 characters.
    QString preview() const;
};

} // namespace quillon
