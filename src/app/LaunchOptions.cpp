#include "app/LaunchOptions.h"

namespace quillon {

namespace {

std::optional<QString> valueOf(const QStringList& arguments, const QString& option, qsizetype* at = nullptr)
{
    const qsizetype index = arguments.indexOf(option);
    if (index < 0 || index + 1 >= arguments.size())
        return std::nullopt;
    if (at)
        *at = index + 1;
    return arguments[index + 1];
}

} // namespace

LaunchOptions LaunchOptions::parse(const QStringList& arguments)
{
    LaunchOptions options;
    if (const auto value = valueOf(arguments, QStringLiteral("--appearance")))
        options.appearance =
            *value == QLatin1String("dark") ? platform::Appearance::dark : platform::Appearance::light;

    qsizetype at = 0;
    if (const auto directory = valueOf(arguments, QStringLiteral("--settings-png"), &at)) {
        SettingsSnapshot snapshot{*directory, {}};
        if (at + 1 < arguments.size()) {
            for (const QString& name : arguments[at + 1].split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                if (const auto pane = SettingsPane::fromRaw(name))
                    snapshot.panes.push_back(*pane);
            }
        } else {
            snapshot.panes.assign(SettingsPane::allCases().begin(), SettingsPane::allCases().end());
        }
        options.settingsPNG = snapshot;
    }
    return options;
}

} // namespace quillon
