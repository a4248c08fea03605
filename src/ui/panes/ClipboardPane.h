#pragma once

#include "features/clipboard/ClipboardStore.h"
#include "ui/PaneView.h"

#include <QPointer>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace quillon {

class AppChipsRow;
class FlowLayout;
class FormSection;
class PasteboardText;
class PermissionGate;
class RowLabel;
class SegmentedControl;
class SnippetEditor;
class WarningRow;

/// Applications that forward keystrokes to another machine or a virtual
/// machine, by desktop application id: remote-desktop viewers, virtual-machine
/// consoles and keyboard-sharing tools, each id as its Debian package or its
/// Flathub app installs it.
class RemoteInputApps {
public:
    RemoteInputApps() = delete;
    static const QStringList& bundleIDs();
};

/// The two lists of the Clipboard pane, in segment order.
enum class ClipboardPaneTab { history, pins };
QString rawValue(ClipboardPaneTab tab);

/// One row of a list as the pane draws it.
struct ClipboardRowState {
    ClipboardEntry entry;
    QString preview;
    bool pinned = false;
    bool operator==(const ClipboardRowState&) const = default;
};

/// What the Clipboard pane shows of the store and the settings.
struct ClipboardPaneState {
    QString header;
    bool showsClear = false;
    bool showsSearch = false;
    std::vector<ClipboardRowState> rows;
    /// The text shown instead of (or after) the rows; none with rows to show.
    std::optional<QString> emptyText;
    /// "Excluded apps", in ascending order.
    QStringList excludedApps;
    /// The "Suggested" chips; empty when the block is absent.
    QStringList suggestions;
};

/// The rows' previews of the last drawing. A stored text is shared, not
/// copied, from one drawing to the next, so a text whose data is the one
/// seen last time has the same preview; entries of 100,000 bytes are not
/// previewed again at each redraw.
class ClipboardPreviews {
public:
    QString preview(const QString& text);
    /// Forgets the previews the drawing just made did not use.
    void endDrawing();

private:
    std::vector<std::pair<QString, QString>> m_last;
    std::vector<std::pair<QString, QString>> m_now;
};

/// One clipboard entry: its pin, its one-line preview and "Save as snippet".
/// In the Pins tab a row can be dragged to a new place.
class ClipboardHistoryRow final : public QWidget {
    Q_OBJECT

public:
    ClipboardHistoryRow(std::function<void(const ClipboardEntry&)> togglePin,
                        std::function<void(const ClipboardEntry&)> saveAsSnippet, QWidget* parent = nullptr);

    static constexpr int previewLimit = 56;
    static constexpr const char* dragType = "application/x-quillon-pin-offset";

    /// Shows the row; `dragOffset` is its place among the pins, none where
    /// it cannot be dragged.
    void display(const ClipboardRowState& row, std::optional<int> dragOffset);
    const ClipboardEntry& entry() const { return m_row.entry; }
    bool pinned() const { return m_row.pinned; }
    QString previewText() const;
    QToolButton* pinButton() const { return m_pin; }
    QPushButton* saveButton() const { return m_save; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    ClipboardRowState m_row;
    std::optional<int> m_dragOffset;
    QPoint m_pressAt;
    bool m_pressed = false;
    QToolButton* m_pin = nullptr;
    QLabel* m_preview = nullptr;
    QPushButton* m_save = nullptr;
};

/// The pane of the clipboard history: the paste picker explained and gated,
/// the history and the pins (pin, reorder, search, clear, save as snippet)
/// and the applications whose Ctrl+V is never intercepted.
class ClipboardPane final : public PaneView {
    Q_OBJECT

public:
    explicit ClipboardPane(SettingsModel& model, QWidget* parent = nullptr);
    ~ClipboardPane() override;

    /// The search field shows from this many history entries on.
    static constexpr std::size_t searchFrom = 7;

    /// The pane's state over the store's history and pins; the History tab
    /// lists the pins first, then the history entries not pinned.
    static ClipboardPaneState state(const std::vector<ClipboardEntry>& history,
                                    const std::vector<ClipboardEntry>& pins, ClipboardPaneTab tab,
                                    const QString& search, const QSet<QString>& excluded,
                                    bool suggestionsHidden, const QStringList& installedRemoteApps,
                                    ClipboardPreviews* previews = nullptr);
    /// "Privacy": where the history is kept.
    static QString privacyText(const QString& root, const QString& home);
    /// The gap a pin dropped at `y` lands in, given the rows' vertical
    /// centres: the number of rows whose centre is above it.
    static int dropGap(const std::vector<int>& rowCentres, int y);
    /// The remote-input applications installed here, in table order; looked
    /// up once per process.
    static const QStringList& installedRemoteApps();
    /// The state now, loading the store when nothing is in it.
    ClipboardPaneState currentState();

    void reload() override;

    // Actions, each followed by a redraw.
    void selectTab(ClipboardPaneTab tab);
    void togglePin(const ClipboardEntry& entry);
    void unpin(const ClipboardEntry& entry);
    void movePins(const std::set<int>& offsets, int destination);
    void clearHistory();
    void saveAsSnippet(const ClipboardEntry& entry);

    ClipboardPaneTab tab() const { return m_tab; }
    SegmentedControl* tabControl() const { return m_tabs; }
    QLineEdit* searchField() const { return m_search; }
    QPushButton* clearButton() const { return m_clear; }
    QList<ClipboardHistoryRow*> rows() const;
    /// The rows' container, which takes the pins' drops.
    QWidget* rowArea() const { return m_rowBox; }
    QLabel* emptyLabel() const { return m_empty; }
    WarningRow* clearWarning() const { return m_clearWarning; }
    FormSection* historySection() const { return m_history; }
    AppChipsRow* excludedChips() const { return m_excluded; }
    QWidget* suggestionsBlock() const { return m_suggestions; }
    QStringList suggestedApps() const { return m_suggested; }
    QToolButton* stopSuggestingButton() const { return m_stopSuggesting; }
    RowLabel* privacyLabel() const { return m_privacy; }
    PermissionGate* gate() const { return m_gate; }
    SnippetEditor* editor() const;
    QList<FormSection*> sections() const { return m_sections; }

private:
    ClipboardStore& store() const;
    void showLists();
    void showRows(const std::vector<ClipboardRowState>& rows);
    void showSuggestions(const QStringList& suggestions);

    std::shared_ptr<PasteboardText> m_clipboard;
    ClipboardPreviews m_previews;
    ClipboardPaneTab m_tab = ClipboardPaneTab::history;
    QString m_searchText;
    /// The last Clear could not empty the history file.
    bool m_clearFailed = false;
    QList<FormSection*> m_sections;
    PermissionGate* m_gate = nullptr;
    RowLabel* m_privacy = nullptr;
    FormSection* m_history = nullptr;
    SegmentedControl* m_tabs = nullptr;
    QPushButton* m_clear = nullptr;
    QLineEdit* m_search = nullptr;
    QWidget* m_rowBox = nullptr;
    QVBoxLayout* m_rowLayout = nullptr;
    std::vector<ClipboardHistoryRow*> m_rows;
    QLabel* m_empty = nullptr;
    WarningRow* m_clearWarning = nullptr;
    AppChipsRow* m_excluded = nullptr;
    QWidget* m_suggestions = nullptr;
    QWidget* m_suggestionFlow = nullptr;
    FlowLayout* m_suggestionLayout = nullptr;
    QStringList m_suggested;
    QToolButton* m_stopSuggesting = nullptr;
    QPointer<SnippetEditor> m_editor;
};

} // namespace quillon
