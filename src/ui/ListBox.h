#pragma once

#include <QListWidget>
#include <string>
#include <string_view>

// A list of names that keeps itself sorted, ignoring case, and keeps each
// item's bytes as they came from the core. Once an item is chosen, one stays
// chosen: nothing the user does empties the selection.
class CListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit CListBox(QWidget* parent = nullptr);

    // Inserts an item at its sorted place: by its shown text, ignoring case,
    // after the items that compare equal to it.
    void AddString(std::string_view bytes);
    // The bytes of the selected item, or the empty string when none is.
    std::string GetSelectedBytes() const;
    // Empties the list without reporting a selection change.
    void ResetContent();

  signals:
    // The user chose an item: the selection changed (by mouse or keyboard),
    // or a click landed on the item already selected, which chooses it again.
    void selectionChangedByUser();

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    bool m_resetting = false;
    bool m_reportedDuringPress = false;
};
