#pragma once

#include "ui/FormSection.h"

#include <QWidget>
#include <functional>

class QPushButton;

namespace quillon {

/// One permission: its name and purpose on the left; on the right "Granted",
/// or the ways to get it ("Request Access" and the smaller "Open System
/// Settings", or that one alone when it cannot be requested).
class PermissionRow final : public QWidget {
    Q_OBJECT

public:
    PermissionRow(const QString& title, bool granted, const QString& sub, std::function<void()> request,
                  std::function<void()> open, QWidget* parent = nullptr);

    void setGranted(bool granted);
    /// The texts on the right, in order.
    QStringList content() const;

private:
    void rebuild();

    bool m_granted;
    std::function<void()> m_request;
    std::function<void()> m_open;
    QWidget* m_right = nullptr;
};

/// "Needed to work": the Accessibility row of a pane whose feature needs it,
/// which disappears, header and all, once it is granted.
class PermissionGate final : public FormSection {
    Q_OBJECT

public:
    PermissionGate(const QString& title, const QString& sub, bool granted, std::function<void()> request,
                   QWidget* parent = nullptr);

    /// Panes call it on every reload with the grant as it is now.
    void setGranted(bool granted);
    PermissionRow* row() const { return m_row; }

private:
    PermissionRow* m_row = nullptr;
};

/// One permission of the About pane's list.
struct AboutPermItem {
    QString title;
    QString sub;
    bool granted = false;
    /// None where the permission cannot be requested.
    std::function<void()> request;
    std::function<void()> open;
};

/// The About pane's form of a permission row: the sub-text wraps, "Granted"
/// is green with a check, and "Open" comes before "Request".
class AboutPermissionRow final : public QWidget {
    Q_OBJECT

public:
    explicit AboutPermissionRow(const AboutPermItem& item, QWidget* parent = nullptr);
    /// The texts on the right, in order.
    QStringList content() const;
};

} // namespace quillon
