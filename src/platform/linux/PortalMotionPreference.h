#pragma once

#include "platform/MotionPreference.h"

#include <QDBusVariant>
#include <QObject>
#include <QVariant>

namespace quillon::platform::linux_ {

/// GNOME's "enable-animations" (org.gnome.desktop.interface), read through
/// the desktop portal's settings and followed as it changes. Where no portal
/// answers, motion is not reduced.
class PortalMotionPreference final : public QObject, public MotionPreference {
    Q_OBJECT
public:
    PortalMotionPreference();
    bool reduceMotion() const override { return m_reduce; }

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void apply(const QVariant& value);
    bool m_reduce = false;
};

} // namespace quillon::platform::linux_
