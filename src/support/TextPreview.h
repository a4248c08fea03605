#pragma once

#include <QString>
#include <optional>

namespace quillon {

/// The pieces of a one-line preview of a stored text. Characters are
/// grapheme clusters; lines end at LF, CR LF or a lone CR.
namespace TextPreview {

/// The first line that is not blank, without the spaces and tabs at its
/// ends; empty when there is none.
QString firstLine(const QString& text);
/// The position after the first `count` clusters; none when there are fewer.
std::optional<qsizetype> afterGraphemes(const QString& text, int count);
/// Where the last `count` clusters begin.
qsizetype lastGraphemes(const QString& text, int count);
/// The number of clusters.
qsizetype graphemeCount(const QString& text);
/// The line when it has at most `limit` clusters, else its first `limit − 1`
/// followed by "…".
QString truncated(const QString& line, int limit);

} // namespace TextPreview
} // namespace quillon
