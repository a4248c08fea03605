#pragma once

#include <QStringList>
#include <QWidget>

class QPushButton;

namespace quillon {

/// A row of exclusive buttons. Index −1 (or any index out of range) selects
/// none; `chosen` is sent only for a person's click, never for
/// setSelectedIndex().
class SegmentedControl final : public QWidget {
    Q_OBJECT

public:
    explicit SegmentedControl(const QStringList& titles, QWidget* parent = nullptr);

    int selectedIndex() const { return m_selected; }
    void setSelectedIndex(int index);
    QList<QPushButton*> buttons() const { return m_buttons; }

signals:
    void chosen(int index);

private:
    QList<QPushButton*> m_buttons;
    int m_selected = -1;
};

} // namespace quillon
