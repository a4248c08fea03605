#pragma once

#include "ui/Reloadable.h"
#include "ui/controls/RowButton.h"

#include <QIcon>
#include <optional>

class QLabel;

namespace quillon {

class SettingsModel;

/// An application of the switcher with its letter: a pinned letter as keys,
/// an automatic one marked "auto", else "set". Clicking asks for a letter to
/// pin (a blank answer unpins) and stores the pinned letters once.
class JumpBindingRow final : public RowButton, public Reloadable {
    Q_OBJECT

public:
    JumpBindingRow(SettingsModel& model, const QString& bundleID, const QString& name,
                   const std::optional<QIcon>& icon, QWidget* parent = nullptr);

    /// Shows the letter the switcher gives the app now.
    void reload() override;
    /// What the badge reads: the pinned letter, the automatic letter and
    /// "auto", or "set".
    QStringList badge() const;

private:
    void pin();

    SettingsModel& m_model;
    QString m_bundleID;
    QString m_name;
    QWidget* m_badge = nullptr;
};

} // namespace quillon
