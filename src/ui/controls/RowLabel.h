#pragma once

#include <QWidget>

class QLabel;

namespace quillon {

/// A row's title, with a smaller secondary line below it when there is one.
class RowLabel final : public QWidget {
    Q_OBJECT

public:
    explicit RowLabel(const QString& title, const QString& sub = {}, QWidget* parent = nullptr);

    QString title() const;
    void setTitle(const QString& title);
    /// None without a sub-text.
    QLabel* subLabel() const { return m_sub; }

private:
    QLabel* m_title = nullptr;
    QLabel* m_sub = nullptr;
};

} // namespace quillon
