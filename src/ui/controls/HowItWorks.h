#pragma once

#include "app/SettingsPane.h"
#include "ui/FormSection.h"

class QToolButton;

namespace quillon {

/// The collapsible "How it works" section of a feature pane. Whether it is
/// open is kept per pane outside the profiles ("help.expanded.<pane>"), so a
/// profile switch leaves it as it was; a pane shown for the first time, or
/// one whose stored value is not a Boolean, starts open.
class HowItWorks final : public FormSection {
    Q_OBJECT

public:
    HowItWorks(SettingsPane pane, QWidget* content, QWidget* parent = nullptr);

    bool isExpanded() const { return m_expanded; }
    /// As the disclosure does: shows or hides the content and stores the choice.
    void setExpanded(bool expanded);
    QToolButton* disclosure() const { return m_disclosure; }

    /// The stored choice for the pane.
    static bool storedExpanded(SettingsPane pane);

private:
    void apply(bool expanded);

    SettingsPane m_pane;
    bool m_expanded = true;
    QToolButton* m_disclosure = nullptr;
    QWidget* m_content = nullptr;
};

} // namespace quillon
