#pragma once

#include "project/ListItem.h"

#include <QIcon>
#include <QList>
#include <QWidget>

class QLabel;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

namespace plinth {

/// The collapsible list of catalog rows that both catalog screens use: a
/// header with the title and a chevron button, then one row per item (title,
/// description, and a plus button for an offered entry, a minus button for a
/// chosen one). While expanded and empty it shows a "Loading..." indicator,
/// or `emptyText` once one is set (the list could not be filled). Pressing a
/// row's button emits actionTriggered with the row's index.
class ExpandableItemsView : public QWidget
{
    Q_OBJECT

public:
    ExpandableItemsView(const QString &title, bool isExpanded, QWidget *parent = nullptr);

    QString title() const;
    bool isExpanded() const { return m_isExpanded; }
    void setExpanded(bool expanded);

    QList<ListItem> items() const { return m_items; }
    /// Replaces the rows; the row whose entry keeps its id keeps keyboard focus.
    void setItems(const QList<ListItem> &items);

    /// Shown instead of "Loading..." while the list is empty; an empty text
    /// brings "Loading..." back.
    void setEmptyText(const QString &text);

Q_SIGNALS:
    void actionTriggered(int index);
    void expandedChanged(bool expanded);

private:
    // Implementation members are the implementer's choice.
    void rebuildRows();

    class Row;
    void updateVisibility();
    void refreshArtwork();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    bool m_isExpanded;
    QList<ListItem> m_items;
    QString m_emptyText;
    QLabel *m_title = nullptr;
    QToolButton *m_chevron = nullptr;
    QVBoxLayout *m_rows = nullptr;
    QScrollArea *m_scroll = nullptr;
    QList<Row *> m_rowWidgets;
    QWidget *m_placeholder = nullptr;
    QWidget *m_loading = nullptr;
    QLabel *m_emptyLabel = nullptr;
    QIcon m_plusIcon;
    QIcon m_minusIcon;
};

} // namespace plinth
