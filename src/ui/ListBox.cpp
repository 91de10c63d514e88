#include "ui/ListBox.h"

#include <QByteArray>
#include <QMouseEvent>

#include "ui/DisplayText.h"

CListBox::CListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_resetting) {
            m_reportedDuringPress = true;
            emit selectionChangedByUser();
        }
    });
}

void CListBox::AddString(std::string_view bytes) {
    const QString shown = BytesToDisplay(bytes);
    // Sorting the shown text, not the bytes, puts "äpfel" beside "Äpfel" and
    // orders a Windows-1252 name like its UTF-8 spelling.
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (QString::compare(shown, item(middle)->text(), Qt::CaseInsensitive) < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    const int row = low;
    auto* newItem = new QListWidgetItem(shown);
    newItem->setData(Qt::UserRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    insertItem(row, newItem);
}

std::string CListBox::GetSelectedBytes() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) {
        return {};
    }
    return selected.first()->data(Qt::UserRole).toByteArray().toStdString();
}

void CListBox::ResetContent() {
    m_resetting = true;
    clear();
    m_resetting = false;
}

QItemSelectionModel::SelectionFlags CListBox::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    // Ctrl+click and Ctrl+Space would take the selected item out of the
    // selection, and a click below the last item would clear it. Once chosen,
    // an item stays chosen until another is: the name-type list and the
    // create command read the selection and have no use for none.
    const QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    if (!index.isValid() || flags.testFlag(QItemSelectionModel::Deselect)) {
        return QItemSelectionModel::NoUpdate;
    }
    return flags;
}

void CListBox::mousePressEvent(QMouseEvent* event) {
    m_reportedDuringPress = false;
    QListWidget::mousePressEvent(event);
    // A click on the selected item changes nothing in the list, yet the user
    // has chosen it again. (The base class's handling may have reported a
    // change through itemSelectionChanged, which sets the flag.)
    // cppcheck-suppress knownConditionTrueFalse
    if (!m_reportedDuringPress && event->button() == Qt::LeftButton &&
        itemAt(event->position().toPoint()) != nullptr) {
        emit selectionChangedByUser();
    }
}
