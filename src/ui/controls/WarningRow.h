#pragma once

#include <QWidget>

class QLabel;

namespace quillon {

/// One line of caution: a yellow triangle and a short secondary text.
class WarningRow final : public QWidget {
    Q_OBJECT

public:
    explicit WarningRow(const QString& text, QWidget* parent = nullptr);

    QString text() const;
    /// For a warning that names a value the person can change.
    void setText(const QString& text);

private:
    QLabel* m_label = nullptr;
};

} // namespace quillon
