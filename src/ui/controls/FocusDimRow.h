#pragma once

#include "ui/Reloadable.h"

#include <QWidget>
#include <optional>

class QLabel;
class QSlider;

namespace quillon {

class SettingsModel;

/// "Dim strength": a slider over the dimming alpha with its percentage. A
/// drag previews each value on the dimming windows and stores only the value
/// it is released at; a key or wheel step, which has no release, is stored
/// at once.
class FocusDimRow final : public QWidget, public Reloadable {
    Q_OBJECT

public:
    explicit FocusDimRow(SettingsModel& model, QWidget* parent = nullptr);

    static constexpr double minimum = 0.1;
    static constexpr double maximum = 0.8;
    /// Slider positions per unit of alpha.
    static constexpr int resolution = 1000;

    /// The percentage shown for a value: truncated, so 0.29 shows "28%".
    static QString percentText(double value);

    /// Shows the stored value, unless a drag is under way.
    void reload() override;
    QSlider* slider() const { return m_slider; }
    QLabel* percentLabel() const { return m_percent; }
    /// The value being dragged and not yet stored.
    std::optional<double> dragValue() const { return m_dragValue; }

private:
    void showValue(double value);
    void moved(int position);
    void released();
    void stepped(int position);
    void store(double value);

    SettingsModel& m_model;
    QSlider* m_slider = nullptr;
    QLabel* m_percent = nullptr;
    std::optional<double> m_dragValue;
};

} // namespace quillon
