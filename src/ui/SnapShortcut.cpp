#include "ui/SnapShortcut.h"

namespace quillon {

namespace {

SnapShortcut row(SnapPosition position, const char* title, char16_t key, bool command = false)
{
    using namespace platform;
    const EventFlags modifiers = KeyFlags::control | KeyFlags::option | (command ? KeyFlags::command : 0);
    return {position, QString::fromUtf8(title), QString(QChar(key)), modifiers};
}

} // namespace

const std::vector<std::pair<QString, std::vector<SnapShortcut>>>& SnapShortcut::groups()
{
    using P = SnapPosition;
    static const std::vector<std::pair<QString, std::vector<SnapShortcut>>> table{
        {QStringLiteral("Halves"),
         {row(P::leftHalf, "Left", leftArrow), row(P::rightHalf, "Right", rightArrow),
          row(P::topHalf, "Top", upArrow), row(P::bottomHalf, "Bottom", downArrow)}},
        {QStringLiteral("Quarters"),
         {row(P::topLeft, "Top Left", u'u'), row(P::topRight, "Top Right", u'i'),
          row(P::bottomLeft, "Bottom Left", u'j'), row(P::bottomRight, "Bottom Right", u'k')}},
        {QStringLiteral("Thirds"),
         {row(P::leftThird, "Left Third", u'd'), row(P::centerThird, "Center Third", u'f'),
          row(P::rightThird, "Right Third", u'g')}},
        {QStringLiteral("Two thirds"),
         {row(P::leftTwoThirds, "Left Two Thirds", u'e'), row(P::rightTwoThirds, "Right Two Thirds", u't')}},
        {QStringLiteral("Whole window"),
         {row(P::maximize, "Maximize", carriageReturn), row(P::center, "Center", u'c'),
          row(P::restore, "Restore", backspace)}},
        {QStringLiteral("Other displays"),
         {row(P::previousDisplay, "Previous Display", leftArrow, true),
          row(P::nextDisplay, "Next Display", rightArrow, true)}},
    };
    return table;
}

QString SnapShortcut::display() const
{
    using namespace platform;
    QString glyphs;
    if (modifiers & KeyFlags::control)
        glyphs += QStringLiteral("⌃");
    if (modifiers & KeyFlags::option)
        glyphs += QStringLiteral("⌥");
    if (modifiers & KeyFlags::command)
        glyphs += QStringLiteral("⌘");
    QString glyph;
    switch (key.isEmpty() ? char16_t(0) : key.front().unicode()) {
    case carriageReturn:
        glyph = QStringLiteral("⏎");
        break;
    case backspace:
        glyph = QStringLiteral("⌫");
        break;
    case leftArrow:
        glyph = QStringLiteral("←");
        break;
    case rightArrow:
        glyph = QStringLiteral("→");
        break;
    case upArrow:
        glyph = QStringLiteral("↑");
        break;
    case downArrow:
        glyph = QStringLiteral("↓");
        break;
    default:
        glyph = key.toUpper();
    }
    return glyphs + QLatin1Char(' ') + glyph;
}

} // namespace quillon
