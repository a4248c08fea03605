#pragma once

#include <QStringList>
#include <QWidget>

namespace quillon {

/// One key drawn as a small keycap: at least 15 wide, a faint fill and edge.
class Keycap final : public QWidget {
    Q_OBJECT

public:
    explicit Keycap(const QString& label, QWidget* parent = nullptr);
    QString label() const { return m_label; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_label;
};

/// A chord as keycaps, the modifiers by their Linux names; a right-hand chord
/// starts with a small "right".
class KeyChip final : public QWidget {
    Q_OBJECT

public:
    explicit KeyChip(const QString& spec, QWidget* parent = nullptr);
    /// What is drawn, in order: "right" (when shown) and each keycap's label.
    QStringList parts() const;
};

/// Alternative chords, with "or" between each two.
class Hotkeys final : public QWidget {
    Q_OBJECT

public:
    explicit Hotkeys(const QStringList& keys, QWidget* parent = nullptr);
};

} // namespace quillon
