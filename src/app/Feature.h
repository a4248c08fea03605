#pragma once

#include <QString>

namespace quillon {

/// A switchable feature. Reconcile calls activate() for every wanted feature
/// and deactivate() for every other one on every pass, so both do nothing
/// when the feature is already in the requested state.
class Feature {
public:
    virtual ~Feature() = default;

    virtual bool isActive() const = 0;
    /// Acquires the feature's observers, taps, hot keys, timers and windows.
    virtual void activate() = 0;
    /// Releases them.
    virtual void deactivate() = 0;
};

/// A feature that holds nothing yet: switching it only flips its state and
/// says so in the debug log.
class BasicFeature : public Feature {
public:
    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

protected:
    explicit BasicFeature(QString label)
        : m_label(std::move(label))
    {
    }

private:
    QString m_label;
    bool m_active = false;
};

} // namespace quillon
