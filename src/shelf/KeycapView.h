#pragma once

#include <QWidget>

namespace quillon {

/// The small key cap on a strip button's corner, naming its key. It never
/// takes the mouse: clicks reach the button below.
class KeycapView final : public QWidget {
public:
    explicit KeycapView(const QString& text, QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    QSizeF fittingSize() const;
    static const QFont& font();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

} // namespace quillon
