#include "ui/SettingsWindowController.h"

#include "platform/Platform.h"
#include "support/AtomicFile.h"
#include "support/KeyNames.h"
#include "support/Symbols.h"
#include "ui/StandardShortcuts.h"

#include <QBuffer>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

namespace quillon {

/// The sidebar and the selected pane's title, glyph, blurb and shortcuts.
class SettingsWindowController::Window final : public QWidget {
public:
    Window()
    {
        setWindowTitle(QStringLiteral("Quillon Settings"));
        resize(760, 520);
        installStandardShortcuts(*this);

        m_sidebar = new QListWidget(this);
        m_sidebar->setFixedWidth(200);
        m_sidebar->setIconSize(QSize(18, 18));
        for (const SettingsPane pane : SettingsPane::allCases()) {
            auto* row = new QListWidgetItem(pane.title(), m_sidebar);
            if (const auto icon = pane.icon())
                row->setIcon(QPixmap::fromImage(Symbols::render(*icon, QSize(36, 36), pane.tint())));
        }

        m_glyph = new QLabel;
        m_title = new QLabel;
        QFont titleFont = m_title->font();
        titleFont.setPixelSize(22);
        titleFont.setBold(true);
        m_title->setFont(titleFont);
        m_blurb = new QLabel;
        m_blurb->setWordWrap(true);
        m_hotkeys = new QLabel;

        auto* pane = new QVBoxLayout;
        pane->setContentsMargins(24, 24, 24, 24);
        pane->addWidget(m_glyph);
        pane->addWidget(m_title);
        pane->addWidget(m_blurb);
        pane->addWidget(m_hotkeys);
        pane->addStretch();

        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_sidebar);
        layout->addLayout(pane, 1);
    }

    QListWidget& sidebar() { return *m_sidebar; }

    void showPane(SettingsPane pane)
    {
        m_sidebar->setCurrentRow(int(SettingsPane::Case(pane)));
        const auto icon = pane.icon();
        m_glyph->setPixmap(icon ? QPixmap::fromImage(Symbols::render(*icon, QSize(48, 48), pane.tint()))
                                : QPixmap());
        m_title->setText(pane.title());
        m_blurb->setText(KeyNames::label(pane.blurb()));
        QStringList keys;
        for (const QString& label : pane.hotkeys())
            keys << KeyNames::label(label);
        m_hotkeys->setText(keys.join(QStringLiteral("   ")));
    }

private:
    QListWidget* m_sidebar = nullptr;
    QLabel* m_glyph = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_blurb = nullptr;
    QLabel* m_hotkeys = nullptr;
};

SettingsWindowController::SettingsWindowController(AppFeatures features)
    : m_features(features)
    , m_self(std::make_shared<SettingsWindowController*>(this))
{
}

SettingsWindowController::~SettingsWindowController() = default;

QWidget* SettingsWindowController::window() const
{
    return m_window.get();
}

void SettingsWindowController::show()
{
    if (!m_window) {
        m_window = std::make_unique<Window>();
        m_window->showPane(m_selected);
        QObject::connect(&m_window->sidebar(), &QListWidget::currentRowChanged, [this](int row) {
            if (row >= 0 && row < int(SettingsPane::allCases().size()) &&
                row != int(SettingsPane::Case(m_selected)))
                select(SettingsPane::allCases()[std::size_t(row)]);
        });
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void SettingsWindowController::select(SettingsPane pane)
{
    m_selected = pane;
    if (m_window)
        m_window->showPane(pane);
}

void SettingsWindowController::debugSnapshot(const QString& directory, std::vector<SettingsPane> only,
                                             std::function<void()> completion)
{
    QDir().mkpath(directory);
    show();
    if (only.empty())
        only.assign(SettingsPane::allCases().begin(), SettingsPane::allCases().end());
    std::weak_ptr<SettingsWindowController*> weak = m_self;
    platform::platform().mainQueue().after(snapshotStartDelay, [weak, directory, only, completion] {
        auto self = weak.lock();
        if (!self)
            return;
        (*self)->select(only.front());
        platform::platform().mainQueue().after(snapshotPaneDelay, [weak, directory, only, completion] {
            if (auto self = weak.lock())
                (*self)->snapshotStep(directory, only, 0, completion);
        });
    });
}

void SettingsWindowController::snapshotStep(const QString& directory, std::vector<SettingsPane> panes,
                                            std::size_t index, std::function<void()> completion)
{
    writePNG(QDir(directory).filePath(panes[index].rawValue() + QStringLiteral(".png")));
    if (index + 1 >= panes.size()) {
        if (completion)
            completion();
        return;
    }
    select(panes[index + 1]);
    std::weak_ptr<SettingsWindowController*> weak = m_self;
    platform::platform().mainQueue().after(snapshotPaneDelay, [weak, directory, panes, index, completion] {
        if (auto self = weak.lock())
            (*self)->snapshotStep(directory, panes, index + 1, completion);
    });
}

bool SettingsWindowController::writePNG(const QString& path)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!m_window->grab().save(&buffer, "PNG")) {
        std::fputs("settings-png: window capture failed\n", stderr);
        return false;
    }
    QString error;
    if (!AtomicFile::write(path, png, &error)) {
        std::fprintf(stderr, "settings-png: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

} // namespace quillon
