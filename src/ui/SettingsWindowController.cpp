#include "ui/SettingsWindowController.h"

#include "platform/Platform.h"
#include "support/AtomicFile.h"
#include "support/Symbols.h"
#include "ui/SettingsModel.h"
#include "ui/SettingsPaneView.h"
#include "ui/StandardShortcuts.h"

#include <QBuffer>
#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

namespace quillon {

/// The sidebar and the selected pane's view.
class SettingsWindowController::Window final : public QWidget {
public:
    explicit Window(SettingsModel& model)
        : m_model(model)
    {
        setWindowTitle(QStringLiteral("Quillon Settings"));
        resize(760, 560);
        installStandardShortcuts(*this);

        m_sidebar = new QListWidget(this);
        m_sidebar->setFixedWidth(200);
        m_sidebar->setIconSize(QSize(18, 18));
        for (const SettingsPane pane : SettingsPane::allCases()) {
            auto* row = new QListWidgetItem(pane.title(), m_sidebar);
            if (const auto icon = pane.icon())
                row->setIcon(QPixmap::fromImage(Symbols::render(*icon, QSize(36, 36), pane.tint())));
        }

        m_layout = new QHBoxLayout(this);
        m_layout->setContentsMargins(0, 0, 0, 0);
        m_layout->setSpacing(0);
        m_layout->addWidget(m_sidebar);
    }

    QListWidget& sidebar() { return *m_sidebar; }
    SettingsPaneView* paneView() const { return m_pane; }

    /// A new view for every selection: the pane starts with fresh local state.
    void showPane(SettingsPane pane)
    {
        {
            const QSignalBlocker quiet(m_sidebar);
            m_sidebar->setCurrentRow(int(SettingsPane::Case(pane)));
        }
        auto* view = new SettingsPaneView(m_model, pane);
        if (m_pane) {
            // Later: the selection may come from inside the old pane.
            // The layout hands back the old pane's item, which is ours to free.
            delete m_layout->replaceWidget(m_pane, view);
            m_pane->hide();
            m_pane->deleteLater();
        } else {
            m_layout->addWidget(view, 1);
        }
        m_pane = view;
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        m_model.resume();
        QWidget::showEvent(event);
    }
    void hideEvent(QHideEvent* event) override
    {
        m_model.pause();
        QWidget::hideEvent(event);
    }

private:
    SettingsModel& m_model;
    QListWidget* m_sidebar = nullptr;
    QHBoxLayout* m_layout = nullptr;
    SettingsPaneView* m_pane = nullptr;
};

SettingsWindowController::SettingsWindowController(AppFeatures features)
    : m_features(features)
    , m_model(std::make_unique<SettingsModel>(features))
    , m_self(std::make_shared<SettingsWindowController*>(this))
{
}

SettingsWindowController::~SettingsWindowController() = default;

QWidget* SettingsWindowController::window() const
{
    return m_window.get();
}

SettingsPaneView* SettingsWindowController::paneView() const
{
    return m_window ? m_window->paneView() : nullptr;
}

void SettingsWindowController::show()
{
    if (!m_window) {
        m_window = std::make_unique<Window>(*m_model);
        m_window->showPane(m_selected);
        QObject::connect(&m_window->sidebar(), &QListWidget::currentRowChanged, [this](int row) {
            if (row >= 0 && row < int(SettingsPane::allCases().size()) &&
                row != int(SettingsPane::Case(m_selected)))
                select(SettingsPane::allCases()[std::size_t(row)]);
        });
    }
    m_window->show();
    platform::platform().appShell().bringToFront(*m_window);
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
