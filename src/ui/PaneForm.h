#pragma once

#include <QScrollArea>

class QVBoxLayout;

namespace quillon {

/// A pane's grouped form: a scrolling column of sections on the settings
/// background.
class PaneForm final : public QScrollArea {
    Q_OBJECT

public:
    explicit PaneForm(QWidget* parent = nullptr);
    /// Appends a section (or any widget, such as a pane's header) to the column.
    template <typename W> W* addSection(W* section)
    {
        append(section);
        return section;
    }

private:
    void append(QWidget* section);
    QVBoxLayout* m_column = nullptr;
};

} // namespace quillon
