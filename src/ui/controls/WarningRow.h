#pragma once

#include <QWidget>

namespace quillon {

/// One line of caution: a yellow triangle and a short secondary text.
class WarningRow final : public QWidget {
    Q_OBJECT

public:
    explicit WarningRow(const QString& text, QWidget* parent = nullptr);
};

} // namespace quillon
