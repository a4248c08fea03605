// Feeds arbitrary text to the key-name formatting: labels as a person reads
// them, and chord labels split into keycaps and the compact form. Beyond not
// crashing: keycaps written out one per word split into the same keycaps,
// and a text without modifier glyphs reads as itself.

#include "input/HotkeyFormat.h"
#include "support/KeyNames.h"

#include <cstdint>
#include <cstdlib>

using namespace quillon;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString label = KeyNames::label(text);
    KeyNames::modifier(text);
    const HotkeyFormat::Parsed parsed = HotkeyFormat::parse(text);
    for (const QString& key : parsed.keys)
        require(!key.isEmpty());
    HotkeyFormat::compact(text);
    // Qt's grapheme breaks around combining marks depend on what precedes
    // them, so only text without marks must split the same way again.
    bool marks = false;
    for (const QChar c : text)
        marks = marks || c.isMark();
    if (!marks)
        require(HotkeyFormat::parse(parsed.keys.join(QLatin1Char(' '))).keys == parsed.keys);

    static const QString glyphs = QStringLiteral("\u2318\u2325\u2303\u21e7");
    bool plain = true;
    for (const QChar c : text)
        plain = plain && !glyphs.contains(c);
    if (plain)
        require(label == text);
    return 0;
}
