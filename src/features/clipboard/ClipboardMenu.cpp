#include "features/clipboard/ClipboardMenu.h"

namespace quillon {

ClipboardMenu::ClipboardMenu()
{
    m_menu.onPick = [this](int index) {
        if (onPick)
            onPick(index + 1);
    };
    m_menu.onHover = [this](int index) {
        if (onHover)
            onHover(index + 1);
    };
}

QString ClipboardMenu::caption(ClipboardTab tab)
{
    return tab == ClipboardTab::recent ? QStringLiteral("[ Recent ]  Pins  \u00b7  slot 1 = current")
                                       : QStringLiteral("Recent  [ Pins ]");
}

QString ClipboardMenu::emptyText(ClipboardTab tab)
{
    return tab == ClipboardTab::recent
               ? QStringLiteral("Nothing copied yet")
               : QStringLiteral("No pins yet \u2014 pin items in Settings \u2192 Clipboard");
}

QStringList ClipboardMenu::footer()
{
    return {QStringLiteral("\u2191\u2193 move"), QStringLiteral("\u2190\u2192 tabs"),
            QStringLiteral("\u23ce paste"), QStringLiteral("1\u20139 direct"), QStringLiteral("esc")};
}

ClipboardMenu::Kind ClipboardMenu::kind(const QString& preview)
{
    const QString t = preview.trimmed();
    const bool space = t.contains(u' ');
    if (t.contains(QLatin1String("://")) || t.startsWith(QLatin1String("www.")))
        return Kind::link;
    if (!space && !t.contains(u'@') && t.contains(u'.') && t.contains(u'/'))
        return Kind::link;
    if (!space && t.contains(u'@') && t.contains(u'.'))
        return Kind::email;
    int codeCharacters = 0;
    for (QChar c : t)
        codeCharacters += QStringView(u"{}();").contains(c) ? 1 : 0;
    if (codeCharacters >= 2)
        return Kind::code;
    return space ? Kind::text : Kind::code;
}

std::vector<ListMenu::Item> ClipboardMenu::items(const std::vector<QString>& previews,
                                                 const std::vector<bool>& pinned)
{
    std::vector<ListMenu::Item> list;
    for (std::size_t i = 0; i < previews.size(); ++i) {
        const Kind k = kind(previews[i]);
        QString symbol;
        switch (k) {
        case Kind::link:
            symbol = QStringLiteral("link");
            break;
        case Kind::email:
            symbol = QStringLiteral("envelope");
            break;
        case Kind::code:
            symbol = QStringLiteral("chevron.left.forwardslash.chevron.right");
            break;
        case Kind::text:
            symbol = QStringLiteral("text.alignleft");
            break;
        }
        if (i < pinned.size() && pinned[i])
            symbol = QStringLiteral("pin.fill");
        list.push_back({QString::number(i + 1), previews[i], std::nullopt, symbol, k == Kind::code});
    }
    return list;
}

void ClipboardMenu::show(const std::vector<QString>& previews, const std::vector<bool>& pinned,
                         ClipboardTab tab)
{
    if (previews.empty())
        return;
    m_menu.setEmptyText(emptyText(tab));
    m_menu.show(items(previews, pinned), ListMenu::Caption{caption(tab)}, footer(), visibleRows);
}

void ClipboardMenu::update(const std::vector<QString>& previews, const std::vector<bool>& pinned,
                           ClipboardTab tab)
{
    m_menu.setEmptyText(emptyText(tab));
    m_menu.update(items(previews, pinned), ListMenu::Caption{caption(tab)});
}

void ClipboardMenu::highlight(int slot)
{
    m_menu.highlight(slot - 1);
}

void ClipboardMenu::close()
{
    m_menu.close();
}

} // namespace quillon
