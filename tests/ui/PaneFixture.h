#pragma once

#include "UiFixture.h"

#include "ui/FormSection.h"
#include "ui/ToggleSwitch.h"

#include <QLabel>
#include <memory>

namespace quillon::testing {

/// One pane as the host shows it, over the application's feature bundle,
/// with the fake main queue settled after each step.
template <typename Pane> struct PaneFixture : ::testing::Test, UiFixture {
    Pane& pane()
    {
        if (!m_pane) {
            m_pane = std::make_unique<Pane>(*model);
            m_pane->reload();
        }
        settle();
        return *m_pane;
    }
    void settle() { fake.queue.drain(); }
    /// The headers of the sections that show.
    QStringList shownSections()
    {
        QStringList headers;
        for (FormSection* section : pane().sections()) {
            if (section->hasContent())
                headers << section->headerLabel()->text();
        }
        return headers;
    }
    /// The pane's switch labelled `title`; fails the test when there is none.
    ToggleSwitch* toggle(const QString& title)
    {
        ToggleSwitch* found = findToggle(title);
        if (!found)
            ADD_FAILURE() << "no switch " << title.toStdString();
        return found;
    }
    ToggleSwitch* findToggle(const QString& title)
    {
        for (ToggleSwitch* each : pane().template findChildren<ToggleSwitch*>()) {
            if (each->accessibleName() == title)
                return each;
        }
        return nullptr;
    }
    /// Counts the settings store's notifications from now on.
    void countNotifications()
    {
        m_counter = settings().addObserver([this] { ++notifications; });
    }
    ~PaneFixture() override
    {
        if (!m_counter.isNull())
            settings().removeObserver(m_counter);
    }

    int notifications = 0;

private:
    std::unique_ptr<Pane> m_pane;
    QUuid m_counter;
};

} // namespace quillon::testing
