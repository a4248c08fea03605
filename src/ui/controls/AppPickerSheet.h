#pragma once

#include "ui/AppDirectory.h"

#include <QDialog>
#include <QHash>
#include <functional>
#include <optional>
#include <set>

class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quillon {

/// "Add an App": a window-modal sheet over the settings window listing the
/// installed and running applications not yet chosen, narrowed as the person
/// types, with "Browse…" for an entry anywhere on disk. Picking calls `pick`
/// with the application's id and closes the sheet; Cancel and Escape close it
/// without a pick.
class AppPickerSheet final : public QDialog {
    Q_OBJECT

public:
    AppPickerSheet(std::set<QString> excluding, std::function<void(const QString&)> pick,
                   QWidget* parent = nullptr);

    static constexpr QSize sheetSize{380, 340};

    /// Offers a file chooser for desktop entries, starting in the person's
    /// applications folder; a chosen entry goes to choose(). Answers the
    /// chooser, open and window-modal over the sheet.
    QFileDialog* browse();
    /// A file chosen through "Browse…": an application entry is picked, or,
    /// when it is in the row already, the sheet just closes (picking it would
    /// take it out of the row). Anything else adds nothing and keeps the
    /// sheet open. Answers whether the sheet closed.
    bool choose(const QString& path);

    QLineEdit* searchField() const { return m_search; }
    QListWidget* list() const { return m_list; }
    /// The applications listed now, top to bottom.
    std::vector<AppDirectory::InstalledApp> shown() const;
    /// The text shown in place of an empty list; empty while rows show.
    QString emptyText() const;
    QPushButton* browseButton() const { return m_browse; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void load();
    void applyQuery();
    void pickRow(int row);
    /// The row icon, resolved the first time the row is drawn.
    std::optional<QIcon> iconFor(const QString& bundleID);

    friend class AppPickerRowDelegate;

    std::set<QString> m_excluding;
    std::function<void(const QString&)> m_pick;
    std::vector<AppDirectory::InstalledApp> m_apps;
    QHash<QString, std::optional<QIcon>> m_icons;
    QLineEdit* m_search = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_empty = nullptr;
    QPushButton* m_browse = nullptr;
};

} // namespace quillon
