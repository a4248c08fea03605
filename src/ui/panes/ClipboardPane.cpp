#include "ui/panes/ClipboardPane.h"

#include "features/clipboard/ClipboardFeature.h"
#include "features/snippets/SnippetStore.h"
#include "input/FeatureChords.h"
#include "platform/AppDirectory.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/AppFiles.h"
#include "support/DS.h"
#include "support/Log.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsModel.h"
#include "ui/controls/AppChips.h"
#include "ui/controls/AppPickerSheet.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/FlowLayout.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/LayoutItems.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/PaneKit.h"
#include "ui/panes/PasteboardText.h"
#include "ui/panes/SendKeystrokesGate.h"
#include "ui/panes/ShelfPane.h"
#include "ui/panes/SnippetEditor.h"
#include "ui/panes/TextRows.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quillon {

namespace {

bool holdsText(const std::vector<ClipboardEntry>& list, const QString& text)
{
    return std::any_of(list.begin(), list.end(),
                       [&](const ClipboardEntry& each) { return ClipboardStore::sameText(each.text, text); });
}

// A text in the form canonically equivalent texts share (what
// `ClipboardStore::sameText` compares), made once per text and drawing:
// entries run to 100,000 bytes, and comparing every pin with every entry
// by normalizing both each time costs frames. Code points below U+0300 are
// their own composed form, so most copies are their own key.
QString comparable(const QString& text)
{
    const bool composed = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x300; });
    return composed ? text : text.normalized(QString::NormalizationForm_C);
}

/// The rows' box, which takes a dragged pin and reports the gap it lands in.
class PinDropArea final : public QWidget {
public:
    explicit PinDropArea(std::function<void(int from, int gap)> moved)
        : m_moved(std::move(moved))
    {
        setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (event->mimeData()->hasFormat(QString::fromLatin1(ClipboardHistoryRow::dragType)))
            event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        if (event->mimeData()->hasFormat(QString::fromLatin1(ClipboardHistoryRow::dragType)))
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override
    {
        bool ok = false;
        const int from =
            event->mimeData()->data(QString::fromLatin1(ClipboardHistoryRow::dragType)).toInt(&ok);
        if (!ok)
            return;
        std::vector<int> centres;
        for (ClipboardHistoryRow* row : findChildren<ClipboardHistoryRow*>(Qt::FindDirectChildrenOnly)) {
            if (row->isVisible())
                centres.push_back(row->geometry().center().y());
        }
        std::sort(centres.begin(), centres.end());
        event->acceptProposedAction();
        m_moved(from, ClipboardPane::dropGap(centres, event->position().toPoint().y()));
    }

private:
    std::function<void(int, int)> m_moved;
};

} // namespace

const QStringList& RemoteInputApps::bundleIDs()
{
    // Remote-desktop viewers, then virtual-machine consoles, then the
    // keyboard-sharing tools.
    static const QStringList ids{
        QStringLiteral("org.remmina.Remmina"),
        QStringLiteral("org.gnome.Connections"),
        QStringLiteral("org.kde.krdc"),
        QStringLiteral("xtigervncviewer"),
        QStringLiteral("rustdesk"),
        QStringLiteral("x2goclient"),
        QStringLiteral("com.moonlight_stream.Moonlight"),
        QStringLiteral("virt-manager"),
        QStringLiteral("remote-viewer"),
        QStringLiteral("org.gnome.Boxes"),
        QStringLiteral("virtualbox"),
        QStringLiteral("barrier"),
        QStringLiteral("io.github.input_leap.input-leap"),
        QStringLiteral("org.deskflow.deskflow"),
        QStringLiteral("synergy"),
    };
    return ids;
}

QString ClipboardPreviews::preview(const QString& text)
{
    const auto same = [&](const std::pair<QString, QString>& each) {
        return each.first.constData() == text.constData() && each.first.size() == text.size();
    };
    for (const auto* list : {&m_now, &m_last}) {
        const auto found = std::find_if(list->begin(), list->end(), same);
        if (found != list->end()) {
            if (list == &m_last)
                m_now.push_back(*found);
            return found->second;
        }
    }
    m_now.emplace_back(text, ClipboardStore::preview(text, ClipboardHistoryRow::previewLimit));
    return m_now.back().second;
}

void ClipboardPreviews::endDrawing()
{
    m_last = std::move(m_now);
    m_now.clear();
}

QString rawValue(ClipboardPaneTab tab)
{
    return tab == ClipboardPaneTab::pins ? QStringLiteral("Pins") : QStringLiteral("History");
}

ClipboardHistoryRow::ClipboardHistoryRow(std::function<void(const ClipboardEntry&)> togglePin,
                                         std::function<void(const ClipboardEntry&)> saveAsSnippet,
                                         QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(9);
    m_pin = glyphButton(QStringLiteral("pin"), 11, DS::menuTextTertiary(), QString());
    layout->addWidget(m_pin, 0, Qt::AlignVCenter);
    m_preview = new QLabel;
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_preview, 1);
    m_save = new QPushButton(QStringLiteral("Save as snippet"));
    m_save->setFlat(true);
    m_save->setCursor(Qt::PointingHandCursor);
    m_save->setFont(fractionalFont(m_save->font(), 11));
    QPalette accent = m_save->palette();
    accent.setColor(QPalette::ButtonText, DS::accent());
    m_save->setPalette(accent);
    layout->addWidget(m_save, 0, Qt::AlignVCenter);
    connect(m_pin, &QAbstractButton::clicked, this,
            [this, togglePin = std::move(togglePin)] { togglePin(m_row.entry); });
    connect(m_save, &QAbstractButton::clicked, this,
            [this, saveAsSnippet = std::move(saveAsSnippet)] { saveAsSnippet(m_row.entry); });
}

void ClipboardHistoryRow::display(const ClipboardRowState& row, std::optional<int> dragOffset)
{
    m_dragOffset = dragOffset;
    setCursor(dragOffset ? Qt::OpenHandCursor : Qt::ArrowCursor);
    if (row == m_row && !m_preview->text().isEmpty())
        return;
    const bool pinChanged = row.pinned != m_row.pinned || m_pin->property("symbol").toString().isEmpty();
    m_row = row;
    m_preview->setText(row.preview);
    setAccessibleName(row.preview);
    if (pinChanged) {
        setGlyph(m_pin, row.pinned ? QStringLiteral("pin.fill") : QStringLiteral("pin"), 11,
                 row.pinned ? DS::accent() : DS::menuTextTertiary());
    }
    const QString pinHelp = row.pinned ? QStringLiteral("Unpin")
                                       : paneText("Pin — kept forever and shown first in the ⌘V picker");
    m_pin->setToolTip(pinHelp);
    m_pin->setAccessibleName(pinHelp);
}

QString ClipboardHistoryRow::previewText() const
{
    return m_preview->text();
}

void ClipboardHistoryRow::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    m_pressAt = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void ClipboardHistoryRow::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed || !m_dragOffset ||
        (event->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    m_pressed = false;
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(dragType), QByteArray::number(*m_dragOffset));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(grab());
    drag->setHotSpot(m_pressAt);
    drag->exec(Qt::MoveAction);
}

ClipboardPaneState ClipboardPane::state(const std::vector<ClipboardEntry>& history,
                                        const std::vector<ClipboardEntry>& pins, ClipboardPaneTab tab,
                                        const QString& search, const QSet<QString>& excluded,
                                        bool suggestionsHidden, const QStringList& installedRemoteApps,
                                        ClipboardPreviews* previews)
{
    ClipboardPaneState state;
    const bool pinsTab = tab == ClipboardPaneTab::pins;
    state.header = pinsTab ? paneText("Pins — drag to reorder; the ⌘V picker follows this order")
                           : QStringLiteral("History — 📌 pins an item, or save it as a snippet");
    const auto row = [previews](const ClipboardEntry& entry, bool pinned) {
        const QString preview = previews
                                    ? previews->preview(entry.text)
                                    : ClipboardStore::preview(entry.text, ClipboardHistoryRow::previewLimit);
        return ClipboardRowState{entry, preview, pinned};
    };
    if (pinsTab) {
        state.showsClear = false;
        for (const ClipboardEntry& pin : pins)
            state.rows.push_back(row(pin, true));
        if (pins.empty())
            state.emptyText = QStringLiteral("No pins yet — 📌 an item in History.");
    } else {
        // The store's `ordered`: the pins, then the history entries not pinned.
        std::vector<QString> pinKeys;
        std::vector<std::pair<const ClipboardEntry*, bool>> ordered;
        for (const ClipboardEntry& pin : pins) {
            pinKeys.push_back(comparable(pin.text));
            ordered.emplace_back(&pin, true);
        }
        for (const ClipboardEntry& entry : history) {
            const QString key = comparable(entry.text);
            if (std::find(pinKeys.begin(), pinKeys.end(), key) == pinKeys.end())
                ordered.emplace_back(&entry, false);
        }
        state.showsClear = !ordered.empty();
        if (ordered.empty())
            state.emptyText = QStringLiteral("No clipboard history yet.");
        // A filter typed while the field showed keeps its field, so it can
        // always be cleared.
        state.showsSearch = !ordered.empty() && (ordered.size() >= searchFrom || !search.isEmpty());
        for (const auto& [entry, pinned] : ordered) {
            if (search.isEmpty() || entry->text.contains(search, Qt::CaseInsensitive))
                state.rows.push_back(row(*entry, pinned));
        }
        if (!ordered.empty() && state.rows.empty())
            state.emptyText = QStringLiteral("No matches.");
    }
    if (previews)
        previews->endDrawing();
    state.excludedApps = QStringList(excluded.begin(), excluded.end());
    std::sort(state.excludedApps.begin(), state.excludedApps.end());
    if (!suggestionsHidden) {
        for (const QString& id : installedRemoteApps) {
            if (!excluded.contains(id))
                state.suggestions << id;
        }
    }
    return state;
}

QString ClipboardPane::privacyText(const QString& root, const QString& home)
{
    return QStringLiteral(
               "copies that password managers mark as secret are never stored. What is kept is a plain "
               "file in ") +
           ShelfPane::displayPath(root, home) +
           QStringLiteral(", readable only by your account — Clear empties it.");
}

int ClipboardPane::dropGap(const std::vector<int>& rowCentres, int y)
{
    return int(std::count_if(rowCentres.begin(), rowCentres.end(), [y](int centre) { return centre < y; }));
}

const QStringList& ClipboardPane::installedRemoteApps()
{
    // An application installed later is suggested from the next launch on.
    static const QStringList installed = [] {
        QStringList found;
        platform::AppDirectory& directory = platform::platform().appDirectory();
        for (const QString& id : RemoteInputApps::bundleIDs()) {
            if (directory.entry(id))
                found << id;
        }
        return found;
    }();
    return installed;
}

ClipboardStore& ClipboardPane::store() const
{
    return model().features.clipboard.store();
}

ClipboardPaneState ClipboardPane::currentState()
{
    ClipboardStore& store = this->store();
    // The store of a feature that is off has never been read.
    if (store.entries.empty() && store.pinned.empty())
        store.load();
    const Settings& settings = model().features.settings;
    const bool hidden = settings.defaults().boolForKey(SettingsKeys::clipboardSuggestionsHidden);
    return state(store.entries, store.pinned, m_tab, m_searchText, settings.clipboardExcludedApps(), hidden,
                 hidden ? QStringList() : installedRemoteApps(), &m_previews);
}

ClipboardPane::ClipboardPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
    , m_clipboard(std::make_shared<PasteboardText>())
{
    auto* form = new PaneForm;
    auto* help = new QWidget;
    auto* helpLayout = new QVBoxLayout(help);
    helpLayout->setContentsMargins(0, 0, 0, 0);
    helpLayout->setSpacing(9);
    auto* picker = new QWidget;
    auto* pickerLayout = new QHBoxLayout(picker);
    pickerLayout->setContentsMargins(0, 0, 0, 0);
    pickerLayout->addWidget(
        new RowLabel(QStringLiteral("Paste picker"),
                     paneText("hold ⌘V for a quarter second — a quick tap still pastes as usual. "
                              "In the picker, ~ toggles Recent ⇄ Pins")),
        1);
    pickerLayout->addWidget(
        new Hotkeys(QStringList{QStringLiteral("hold ⌘V")} + FeatureChords::chords(SettingsPane::clipboard)));
    helpLayout->addWidget(picker);
    helpLayout->addWidget(
        new RowLabel(QStringLiteral("Pins"),
                     paneText("a pinned item never ages out and shows first in the picker; drag to set a "
                              "manual order (otherwise most-recently-used leads)")));
    m_privacy = new RowLabel(QStringLiteral("Privacy"), QStringLiteral(" "));
    helpLayout->addWidget(m_privacy);
    form->addSection(new FeatureHeader(model, SettingsPane::clipboard, help));

    m_gate =
        sendKeystrokesGate(model, paneText("until this is granted, holding ⌘V just pastes — the picker never "
                                           "opens."));
    m_sections << m_gate;

    m_history = new FormSection(QStringLiteral("History"));
    auto* top = new QWidget;
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    m_tabs = new SegmentedControl({rawValue(ClipboardPaneTab::history), rawValue(ClipboardPaneTab::pins)});
    m_tabs->setAccessibleName(QStringLiteral("List"));
    connect(m_tabs, &SegmentedControl::chosen, this, [this](int index) {
        selectTab(index == 1 ? ClipboardPaneTab::pins : ClipboardPaneTab::history);
    });
    topLayout->addWidget(m_tabs);
    topLayout->addStretch(1);
    m_clear = new QPushButton(QStringLiteral("Clear"));
    m_clear->setFlat(true);
    QPalette secondary = m_clear->palette();
    secondary.setColor(QPalette::ButtonText, secondary.color(QPalette::PlaceholderText));
    m_clear->setPalette(secondary);
    connect(m_clear, &QPushButton::clicked, this, &ClipboardPane::clearHistory);
    topLayout->addWidget(m_clear);
    m_history->addRow(top);

    auto* listBox = new QWidget;
    auto* listLayout = new QVBoxLayout(listBox);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(4);
    m_search = new QLineEdit;
    m_search->setPlaceholderText(QStringLiteral("Search history"));
    m_search->setAccessibleName(QStringLiteral("Search history"));
    m_search->setClearButtonEnabled(true);
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_searchText = text;
        showLists();
    });
    listLayout->addWidget(m_search);
    auto* rowBox = new PinDropArea([this](int from, int gap) {
        if (m_tab == ClipboardPaneTab::pins)
            movePins({from}, gap);
    });
    m_rowBox = rowBox;
    m_rowLayout = new QVBoxLayout(m_rowBox);
    m_rowLayout->setContentsMargins(0, 0, 0, 0);
    m_rowLayout->setSpacing(0);
    listLayout->addWidget(m_rowBox);
    m_empty = secondaryLabel(QString(), 13);
    listLayout->addWidget(m_empty);
    m_clearWarning =
        new WarningRow(QStringLiteral("Couldn't clear the history file — it still holds the entries "
                                      "shown."));
    listLayout->addWidget(m_clearWarning);
    m_history->addRow(listBox);
    m_sections << m_history;

    Settings& settings = model.features.settings;
    auto* exclusions = new FormSection(
        paneText("Never intercept ⌘V in"),
        paneText(
            "The picker replays ⌘V as a synthetic keystroke, which these apps can drop. A listed app's ⌘V is "
            "left completely untouched — r⌘ r⌥ C still opens the picker, and picking always puts the item on "
            "the clipboard first, so ⌘V then pastes it for real."));
    // The settings observer redraws after a toggle.
    m_excluded =
        new AppChipsRow(QStringLiteral("Excluded apps"),
                        QStringLiteral("remote desktop and VM apps that forward your keystrokes to another "
                                       "machine"),
                        {}, [&settings](const QString& id) { settings.toggleClipboardExcludedApp(id); });
    exclusions->addRow(m_excluded);

    m_suggestions = new QWidget;
    auto* suggestionsLayout = new QVBoxLayout(m_suggestions);
    suggestionsLayout->setContentsMargins(0, 2, 0, 2);
    suggestionsLayout->setSpacing(8);
    auto* suggestedHead = new QHBoxLayout;
    suggestedHead->setSpacing(6);
    suggestedHead->addWidget(new RowLabel(QStringLiteral("Suggested"),
                                          QStringLiteral("installed apps that forward keystrokes elsewhere")),
                             1);
    m_stopSuggesting = glyphButton(QStringLiteral("xmark"), 9, DS::menuTextTertiary(),
                                   QStringLiteral("Stop suggesting apps"));
    connect(m_stopSuggesting, &QAbstractButton::clicked, this, [this] {
        this->model().features.settings.set(true, SettingsKeys::clipboardSuggestionsHidden);
        this->model().refresh();
    });
    suggestedHead->addWidget(m_stopSuggesting, 0, Qt::AlignVCenter);
    suggestionsLayout->addLayout(suggestedHead);
    m_suggestionFlow = new QWidget;
    m_suggestionLayout = new FlowLayout(7, m_suggestionFlow);
    m_suggestionLayout->setContentsMargins(0, 0, 0, 0);
    suggestionsLayout->addWidget(m_suggestionFlow);
    exclusions->addRow(m_suggestions);
    m_sections << exclusions;

    placeForm(*this, form, m_sections);
}

ClipboardPane::~ClipboardPane() = default;

SnippetEditor* ClipboardPane::editor() const
{
    return SnippetEditor::whileOpen(m_editor);
}

QList<ClipboardHistoryRow*> ClipboardPane::rows() const
{
    return QList<ClipboardHistoryRow*>(m_rows.begin(), m_rows.end());
}

void ClipboardPane::selectTab(ClipboardPaneTab tab)
{
    m_tab = tab;
    showLists();
}

void ClipboardPane::togglePin(const ClipboardEntry& entry)
{
    ClipboardStore& store = this->store();
    store.setPinned(entry, !holdsText(store.pinned, entry.text));
    model().refresh();
}

void ClipboardPane::unpin(const ClipboardEntry& entry)
{
    store().setPinned(entry, false);
    model().refresh();
}

void ClipboardPane::movePins(const std::set<int>& offsets, int destination)
{
    model().features.clipboard.movePins(offsets, destination);
    model().refresh();
}

void ClipboardPane::clearHistory()
{
    ClipboardStore& store = this->store();
    store.entries.clear();
    // The write waits for every queued one, so none lands after it and puts
    // the entries back.
    bool cleared = store.write({}, store.fileURL());
    if (!cleared) {
        // A history that cannot be emptied in place may still be removed.
        QFile::remove(store.fileURL());
        cleared = !QFileInfo::exists(store.fileURL());
    }
    m_clearFailed = !cleared;
    if (m_clearFailed) {
        Log::error(QStringLiteral("Couldn't clear the clipboard history in %1; it still holds its entries")
                       .arg(store.fileURL()));
        // Show what is stored, not an emptiness the file does not have.
        store.load();
    }
    model().refresh();
}

void ClipboardPane::saveAsSnippet(const ClipboardEntry& entry)
{
    if (editor())
        return;
    // The whole text, not its one-line preview.
    m_editor =
        presentSnippetEditor(model(), this, {SnippetStore::uuidSource(), QString(), entry.text}, m_clipboard);
}

void ClipboardPane::showRows(const std::vector<ClipboardRowState>& rows)
{
    resizeRows<ClipboardHistoryRow>(m_rows, rows.size(), m_rowLayout, [this] {
        return new ClipboardHistoryRow(
            [this](const ClipboardEntry& entry) {
                if (m_tab == ClipboardPaneTab::pins)
                    unpin(entry);
                else
                    togglePin(entry);
            },
            [this](const ClipboardEntry& entry) { saveAsSnippet(entry); });
    });
    const bool pinsTab = m_tab == ClipboardPaneTab::pins;
    for (std::size_t i = 0; i < rows.size(); ++i)
        m_rows[i]->display(rows[i], pinsTab ? std::optional<int>(int(i)) : std::nullopt);
    m_rowBox->setVisible(!rows.empty());
}

void ClipboardPane::showSuggestions(const QStringList& suggestions)
{
    m_suggestions->setVisible(!suggestions.isEmpty());
    if (suggestions == m_suggested)
        return;
    m_suggested = suggestions;
    discardItems(*m_suggestionLayout);
    Settings& settings = model().features.settings;
    for (const QString& id : suggestions) {
        m_suggestionLayout->addWidget(new SuggestionChip(id, [this, &settings, id] {
            settings.toggleClipboardExcludedApp(id);
            model().refresh();
        }));
    }
    m_suggestionFlow->updateGeometry();
}

void ClipboardPane::showLists()
{
    const ClipboardPaneState now = currentState();
    m_tabs->setSelectedIndex(m_tab == ClipboardPaneTab::pins ? 1 : 0);
    m_history->headerLabel()->setText(now.header);
    m_clear->setVisible(now.showsClear);
    m_search->setVisible(now.showsSearch);
    showRows(now.rows);
    m_empty->setText(now.emptyText.value_or(QString()));
    m_empty->setVisible(now.emptyText.has_value());
    m_clearWarning->setVisible(m_clearFailed);
    if (m_excluded->bundleIDs() != now.excludedApps)
        m_excluded->setBundleIDs(now.excludedApps);
    showSuggestions(now.suggestions);
}

void ClipboardPane::reload()
{
    PaneView::reload();
    m_gate->setGranted(sendKeystrokesGranted());
    m_privacy->subLabel()->setText(privacyText(AppFiles::root(), platform::platform().paths().home()));
    showLists();
}

} // namespace quillon
