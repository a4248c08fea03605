#include "notch/NotchStates.h"

#include "support/BatteryIcon.h"
#include "support/Config.h"
#include "support/DS.h"
#include "support/Symbols.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

NotchBarItem symbol(const char* name)
{
    NotchBarItem item;
    item.icon = Symbols::image(QString::fromLatin1(name));
    return item;
}

NotchBarItem valueText(const QString& text, bool dimmed = false)
{
    NotchBarItem item;
    item.text = text;
    item.value = true;
    item.dimmed = dimmed;
    return item;
}

NotchBarItem wave()
{
    NotchBarItem item;
    item.wave = true;
    return item;
}

NotchBarItem pulsing(const char* name, const char* key)
{
    NotchBarItem item = symbol(name);
    item.pulseKey = QString::fromLatin1(key);
    return item;
}

QString percentText(int percent)
{
    return QString::number(percent) + u'%';
}

// User-perceived characters, so that an emoji or an accented letter is never
// cut in half.
std::vector<QString> graphemes(const QString& text)
{
    std::vector<QString> result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() >= 0) {
        const qsizetype end = finder.position();
        result.push_back(text.mid(start, end - start));
        start = end;
    }
    return result;
}

bool isBlank(const QString& grapheme)
{
    return std::all_of(grapheme.begin(), grapheme.end(), [](QChar c) { return c.isSpace(); });
}

} // namespace

NotchContent NotchStates::nowPlaying(NowPlayingChipState::Phase phase, const QString& title,
                                     const QString& artist, double maxCaptionWidth)
{
    using Phase = NowPlayingChipState::Phase;
    QString longCaption = artist.isEmpty() ? title : title + QStringLiteral(" — ") + artist;
    if (std::isfinite(maxCaptionWidth))
        longCaption =
            QFontMetricsF(DS::captionFont()).elidedText(longCaption, Qt::ElideRight, maxCaptionWidth);
    NotchContent content;
    switch (phase) {
    case Phase::hidden:
        break;
    case Phase::compact:
        content.left = {symbol("music.note")};
        content.right = {wave()};
        break;
    case Phase::expanded:
        content.left = {symbol("music.note")};
        content.right = {wave()};
        content.caption = longCaption;
        break;
    case Phase::controls:
        content.left = {pulsing("backward.fill", "prev"), pulsing("playpause.fill", "playpause"),
                        pulsing("forward.fill", "next")};
        content.right = {wave()};
        content.caption = longCaption;
        break;
    }
    return content;
}

NotchContent NotchStates::shelfChip(int count)
{
    NotchBarItem files = symbol("doc.fill");
    files.text = QString::number(count);
    files.textLeading = true;
    files.value = true;
    NotchContent content;
    content.left = {symbol("tray.fill")};
    content.right = {files};
    return content;
}

NotchContent NotchStates::spaceChip(int number)
{
    NotchContent content;
    content.left = {symbol("rectangle.on.rectangle")};
    content.right = {valueText(QString::number(number))};
    return content;
}

NotchContent NotchStates::sessionChip(bool active, int minutes)
{
    QString text = QStringLiteral("Ended");
    if (active)
        text = minutes != 0 ? QString::number(minutes) + u'm' : QStringLiteral("On");
    NotchBarItem state = valueText(text);
    state.accentDot = active;
    NotchContent content;
    content.left = {symbol("cup.and.saucer.fill")};
    content.right = {state};
    if (active)
        content.caption = QStringLiteral("awake");
    return content;
}

NotchContent NotchStates::leaderHints(const std::vector<NotchBarItem>& items,
                                      const std::optional<QString>& caption)
{
    NotchContent content;
    content.caption = caption;
    if (items.size() < 2) {
        content.right = items;
        return content;
    }
    const auto split = items.begin() + std::ptrdiff_t((items.size() + 1) / 2);
    content.left.assign(items.begin(), split);
    content.right.assign(split, items.end());
    return content;
}

NotchContent NotchStates::snippetCopiedChip()
{
    NotchContent content;
    content.left = {symbol("doc.on.clipboard")};
    content.right = {valueText(QStringLiteral("⌘V"))};
    content.caption = QStringLiteral("snippet copied");
    return content;
}

NotchContent NotchStates::ocrChip(const QString& text)
{
    const QString trimmed = text.trimmed();
    NotchContent content;
    content.left = {symbol("text.viewfinder")};
    if (trimmed.isEmpty()) {
        content.right = {valueText(QStringLiteral("none"), true)};
        content.caption = QStringLiteral("nothing found");
    } else {
        content.right = {valueText(QStringLiteral("⌘V"))};
        content.caption = textPreview(trimmed, 48);
    }
    return content;
}

NotchContent NotchStates::ocrPermissionChip()
{
    NotchContent content;
    content.left = {symbol("text.viewfinder")};
    content.right = {valueText(QStringLiteral("Grant"), true)};
    content.caption = QStringLiteral("Screen Recording");
    return content;
}

NotchContent NotchStates::ocrRestartChip()
{
    NotchContent content;
    content.left = {symbol("text.viewfinder")};
    content.right = {valueText(QStringLiteral("restart"), true)};
    content.caption = QStringLiteral("Restart required");
    return content;
}

NotchContent NotchStates::colorChip(const QString& hex, const QColor& color)
{
    NotchContent content;
    content.left = {symbol("eyedropper.halffull")};
    content.right = {valueText(QStringLiteral("⌘V"))};
    content.caption = hex;
    content.outlineColor = color;
    return content;
}

NotchContent NotchStates::appQuitChip(const std::optional<QIcon>& icon, const QString& name)
{
    NotchBarItem app;
    app.icon = icon ? icon : Symbols::image(QStringLiteral("xmark.circle.fill"));
    NotchContent content;
    content.left = {app};
    content.right = {valueText(QStringLiteral("Quit"), true)};
    content.caption = name;
    return content;
}

NotchContent NotchStates::breakCountdown(int second, bool eyeOpen)
{
    NotchBarItem eye = symbol("eye.fill");
    eye.closedEye = !eyeOpen;
    NotchContent content;
    content.left = {eye};
    content.right = {valueText(QStringLiteral("0:%1").arg(second, 2, 10, QLatin1Char('0')))};
    content.caption = QStringLiteral("Breaks");
    return content;
}

NotchContent NotchStates::batteryChip(bool charging, int percent)
{
    NotchBarItem battery;
    battery.icon = BatteryIcon::image(percent, charging);
    NotchContent content;
    content.left = {battery};
    content.right = {valueText(percentText(percent))};
    if (charging)
        content.caption = QStringLiteral("charging");
    return content;
}

NotchContent NotchStates::lowBatteryChip(int percent)
{
    const bool critical = percent <= Config::batteryCriticalLevel();
    NotchBarItem battery;
    battery.icon = BatteryIcon::image(percent, false);
    battery.warning = critical;
    NotchBarItem level = valueText(percentText(percent));
    level.warning = critical;
    NotchContent content;
    content.left = {battery};
    content.right = {level};
    content.caption = QStringLiteral("low");
    return content;
}

QString NotchStates::textPreview(const QString& text, int limit)
{
    limit = std::max(limit, 3);
    std::vector<QString> joined;
    bool pendingSpace = false;
    for (QString& g : graphemes(text)) {
        if (isBlank(g)) {
            pendingSpace = !joined.empty();
            continue;
        }
        if (pendingSpace)
            joined.push_back(QStringLiteral(" "));
        pendingSpace = false;
        joined.push_back(std::move(g));
    }
    auto concat = [](auto first, auto last) {
        QString s;
        for (auto it = first; it != last; ++it)
            s += *it;
        return s;
    };
    if (qsizetype(joined.size()) <= limit)
        return concat(joined.begin(), joined.end());
    const auto h = std::ptrdiff_t((limit - 3) / 2);
    return concat(joined.begin(), joined.begin() + h) + QStringLiteral(" … ") +
           concat(joined.end() - h, joined.end());
}

} // namespace quillon
