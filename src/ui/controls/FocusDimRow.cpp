#include "ui/controls/FocusDimRow.h"

#include "features/focus/FocusFeature.h"
#include "settings/Settings.h"
#include "ui/SettingsModel.h"
#include "ui/controls/Glyph.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <utility>

namespace quillon {

FocusDimRow::FocusDimRow(SettingsModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("Dim strength")), 0, Qt::AlignVCenter);
    layout->addStretch(1);

    m_slider = new QSlider(Qt::Horizontal);
    m_slider->setRange(int(std::lround(minimum * resolution)), int(std::lround(maximum * resolution)));
    // The positions are fine-grained for dragging; a key step is one percent.
    m_slider->setSingleStep(resolution / 100);
    m_slider->setPageStep(resolution / 10);
    m_slider->setFixedWidth(200);
    m_slider->setAccessibleName(QStringLiteral("Dim strength"));
    layout->addWidget(m_slider, 0, Qt::AlignVCenter);

    m_percent = new QLabel;
    m_percent->setFont(pixelFont(m_percent->font(), 12));
    m_percent->setForegroundRole(QPalette::PlaceholderText);
    m_percent->setFixedWidth(38);
    m_percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(m_percent, 0, Qt::AlignVCenter);

    connect(m_slider, &QSlider::sliderMoved, this, &FocusDimRow::moved);
    connect(m_slider, &QSlider::sliderReleased, this, &FocusDimRow::released);
    connect(m_slider, &QSlider::valueChanged, this, &FocusDimRow::stepped);
    reload();
}

QString FocusDimRow::percentText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("–");
    return QString::number(static_cast<long long>(std::trunc(value * 100))) + QLatin1Char('%');
}

void FocusDimRow::reload()
{
    if (m_dragValue)
        return;
    showValue(m_model.features.settings.defaults().doubleForKey(SettingsKeys::focusAlpha));
}

void FocusDimRow::showValue(double value)
{
    {
        // An imported value outside the range sits at the slider's end and
        // stays as stored until the person moves it.
        const QSignalBlocker quiet(m_slider);
        const double shown = std::isfinite(value) ? std::clamp(value, minimum, maximum) : minimum;
        m_slider->setValue(int(std::lround(shown * resolution)));
    }
    m_percent->setText(percentText(value));
}

void FocusDimRow::moved(int position)
{
    const double value = double(position) / resolution;
    m_dragValue = value;
    m_percent->setText(percentText(value));
    m_model.features.focus.applyAlpha(value);
}

void FocusDimRow::released()
{
    if (const auto value = std::exchange(m_dragValue, std::nullopt))
        store(*value);
}

void FocusDimRow::stepped(int position)
{
    // Values that come while the thumb is held are the drag's; its release
    // stores the last one.
    if (m_slider->isSliderDown())
        return;
    const double value = double(position) / resolution;
    m_percent->setText(percentText(value));
    store(value);
}

void FocusDimRow::store(double value)
{
    m_model.features.settings.set(value, SettingsKeys::focusAlpha);
}

} // namespace quillon
