#pragma once

#include "features/breaks/BreakCardLayout.h"

#include <QAbstractButton>
#include <QImage>
#include <QWidget>

namespace quillon {

/// A borderless pill: white at 0.12 behind its title, 0.24 while pressed.
class PillButton final : public QAbstractButton {
public:
    PillButton(const QString& title, const QFont& font, QWidget* parent);
    void setTitle(const QString& title);
    QString title() const { return text(); }
    /// The whole pill's opacity (dimmed while it cannot be used).
    void setAlpha(double alpha);
    double alpha() const { return m_alpha; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont m_font;
    double m_alpha = 1.0;
};

/// The card in the middle of a panel.
class BreakCard final : public QWidget {
public:
    BreakCard(const QString& title, const QString& body, QWidget* parent);
    void setCountdown(const QString& text);
    QString countdown() const { return m_countdown; }
    PillButton* skip() const { return m_skip; }
    PillButton* snooze() const { return m_snooze; }
    const BreakCardLayout& layout() const { return m_layout; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QString m_body;
    QString m_countdown = QStringLiteral("00:00");
    BreakCardFonts m_fonts;
    BreakCardLayout m_layout;
    PillButton* m_skip;
    PillButton* m_snooze;
};

/// One screen's break panel: the backdrop, plain dark without one, with the
/// card centred over it.
class BreakPanel final : public QWidget {
public:
    BreakPanel(const QString& title, const QString& body, QImage backdrop);
    BreakCard* card() const { return m_card; }
    bool hasBackdrop() const { return !m_backdrop.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_backdrop;
    BreakCard* m_card;
};

} // namespace quillon
