#pragma once

#include "ui/Binding.h"
#include "ui/Reloadable.h"

#include <QAbstractButton>
#include <optional>

namespace quillon {

/// The one toggle of the settings panes: a small painted switch, accent when
/// on. Space flips it when it has focus; its accessible name is its label.
/// Bound to a setting, it writes only when a person flips it.
class ToggleSwitch final : public QAbstractButton, public Reloadable {
    Q_OBJECT

public:
    explicit ToggleSwitch(const QString& label = {}, QWidget* parent = nullptr);

    /// Shows the binding's value and writes each flip through it.
    void bind(Binding<bool> binding);
    void reload() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<Binding<bool>> m_binding;
};

} // namespace quillon
