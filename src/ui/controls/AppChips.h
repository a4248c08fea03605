#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <set>

class QLabel;

namespace quillon {

class AppPickerSheet;
class FlowLayout;

/// One chosen application: its icon, its name and a small cross that calls
/// `remove`. An id no application answers to shows the id and no icon.
class AppChip final : public QWidget {
    Q_OBJECT

public:
    AppChip(const QString& bundleID, std::function<void()> remove, QWidget* parent = nullptr);

    static constexpr int chipHeight = 22;
    /// Names longer than this elide.
    static constexpr int maxNameWidth = 180;

    QString bundleID() const { return m_bundleID; }
    /// The whole name, before eliding.
    QString name() const { return m_name; }
    bool hasIcon() const { return m_hasIcon; }
    QAbstractButton* removeButton() const { return m_remove; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_bundleID;
    QString m_name;
    bool m_hasIcon = false;
    QAbstractButton* m_remove = nullptr;
};

/// An application offered but not chosen: an outlined chip with a plus that
/// calls `add` when clicked.
class SuggestionChip final : public QAbstractButton {
    Q_OBJECT

public:
    SuggestionChip(const QString& bundleID, std::function<void()> add, QWidget* parent = nullptr);

    QString bundleID() const { return m_bundleID; }
    QString name() const { return m_name; }
    bool hasIcon() const { return m_hasIcon; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_bundleID;
    QString m_name;
    bool m_hasIcon = false;
};

/// "+ Add": opens the picker sheet over the window, offering everything but
/// `excluding`; the picked id goes to `add`.
class AddChipButton final : public QAbstractButton {
    Q_OBJECT

public:
    AddChipButton(std::set<QString> excluding, std::function<void(const QString&)> add,
                  QWidget* parent = nullptr);

    /// The open sheet; none while not picking.
    AppPickerSheet* sheet() const { return m_sheet; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openSheet();

    std::set<QString> m_excluding;
    std::function<void(const QString&)> m_add;
    QPointer<AppPickerSheet> m_sheet;
};

/// A list of applications as a wrapping row of chips, with "+ Add" last and
/// an optional title and sub-text above. Removing a chip and adding through
/// the picker both call `change` with the id: the pane flips its membership
/// and shows the new list with setBundleIDs().
class AppChipsRow final : public QWidget {
    Q_OBJECT

public:
    AppChipsRow(const QString& title, const QString& sub, const QStringList& bundleIDs,
                std::function<void(const QString&)> change, QWidget* parent = nullptr);

    /// Rebuilds the chips: one per id at its first place, empty ids skipped.
    void setBundleIDs(const QStringList& bundleIDs);
    /// The ids that have a chip, in order.
    QStringList bundleIDs() const { return m_bundleIDs; }
    QList<AppChip*> chips() const;
    AddChipButton* addButton() const { return m_add; }

private:
    std::function<void(const QString&)> m_change;
    QStringList m_bundleIDs;
    QWidget* m_flow = nullptr;
    FlowLayout* m_layout = nullptr;
    AddChipButton* m_add = nullptr;
};

} // namespace quillon
