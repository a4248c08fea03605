#pragma once

#include "platform/MainQueue.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <memory>

namespace quillon {

class HoverButton;
class KeycapView;

/// The icon buttons at the right end of the card row: Send to Device, Copy
/// and Remove in the right column, Zip in the left one, each with its key cap.
class ActionStrip final : public QWidget {
public:
    explicit ActionStrip(QWidget* parent = nullptr);
    ~ActionStrip() override;

    std::function<void()> onAirDrop, onCopy, onZip, onRemove;

    HoverButton* airDropButton() const { return m_airDrop; }
    HoverButton* copyButton() const { return m_copy; }
    HoverButton* zipButton() const { return m_zip; }
    HoverButton* removeButton() const { return m_remove; }

    /// The visible buttons of each column, top to bottom.
    QList<HoverButton*> leftColumnButtons() const;
    QList<HoverButton*> rightColumnButtons() const;
    /// The key cap of a button.
    KeycapView* keycap(const HoverButton* button) const;

    /// Places buttons and caps for the strip's size.
    void layoutButtons();
    void setHoveredButton(HoverButton* button);
    void setRemoveArmed(bool armed);
    void setZipAvailable(bool available);
    /// Without a share service the send button is hidden (its key passes).
    void setShareAvailable(bool available);
    /// Shows a check on the Copy button for a second.
    void flashCopyConfirm();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    HoverButton* addButton(const QString& symbol, const QString& fallback, const QString& title,
                           const QString& cap, std::function<void()> ActionStrip::*callback);

    HoverButton* m_airDrop = nullptr;
    HoverButton* m_copy = nullptr;
    HoverButton* m_zip = nullptr;
    HoverButton* m_remove = nullptr;
    QIcon m_copyImage;
    platform::WorkItem m_flashRestore;
    QList<std::pair<HoverButton*, KeycapView*>> m_keycaps;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon
