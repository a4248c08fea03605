#pragma once

#include <QString>

namespace quillon {

/// Texts a person reads keep their wording, except words that name things a
/// Linux desktop does not have ("Finder", "Dock", "Spaces", …): they are
/// changed here, in one place, into what this desktop calls them.
class Words {
public:
    Words() = delete;

    /// The text with every such word or phrase replaced, whole words only and
    /// case-sensitive ("Space" is a workspace, "space bar" stays). A
    /// replacement that opens a sentence starts with a capital letter.
    static QString adapt(const QString& text);
};

} // namespace quillon
