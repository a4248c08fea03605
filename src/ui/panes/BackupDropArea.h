#pragma once

#include <QList>
#include <QUrl>
#include <QWidget>

namespace quillon {

/// "…or drop a settings .json here": a dashed box that takes dragged files
/// and turns the accent colour while one hovers over it.
class BackupDropArea final : public QWidget {
    Q_OBJECT

public:
    explicit BackupDropArea(QWidget* parent = nullptr);

    bool isTargeted() const { return m_targeted; }
    QSize sizeHint() const override;

    static inline const QString text = QStringLiteral("…or drop a settings .json here");

signals:
    void targetedChanged(bool targeted);
    /// The files of a drop, as they came.
    void dropped(const QList<QUrl>& urls);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setTargeted(bool targeted);

    bool m_targeted = false;
};

} // namespace quillon
