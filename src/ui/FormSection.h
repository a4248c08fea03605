#pragma once

#include "ui/Binding.h"

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace quillon {

class RowLabel;
class ToggleSwitch;

/// One group of a pane's form: a rounded box of rows split by hairlines,
/// with a header above and a footer below. It hides itself, header and footer
/// included, when told to or when none of its rows is visible.
class FormSection : public QWidget {
    Q_OBJECT

public:
    explicit FormSection(const QString& header = {}, const QString& footer = {}, QWidget* parent = nullptr);

    /// Adds a row holding `widget` across the whole width.
    QWidget* addRow(QWidget* widget);
    /// Label on the left, content on the right.
    QWidget* addLabeledRow(QWidget* label, QWidget* content);
    QWidget* addLabeledRow(const QString& label, QWidget* content);
    /// A switch bound to the setting, named after the label's title.
    ToggleSwitch* addToggleRow(RowLabel* label, Binding<bool> binding);

    void setSectionHidden(bool hidden);
    /// Some row is visible and the section was not told to hide.
    bool hasContent() const;
    QLabel* headerLabel() const { return m_header; }
    QLabel* footerLabel() const { return m_footer; }
    /// The rows in order (each row is the widget addRow answered).
    QList<QWidget*> rows() const { return m_rows; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Box;
    void updateVisibility();

    QLabel* m_header = nullptr;
    QLabel* m_footer = nullptr;
    Box* m_box = nullptr;
    QVBoxLayout* m_rowLayout = nullptr;
    QList<QWidget*> m_rows;
    bool m_hidden = false;
};

} // namespace quillon
