// Reading and driving a list view the way a user sees it: its rows' texts,
// the current row, a click on a row.
#pragma once

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QStringList>
#include <QTest>

inline int RowCount(const QAbstractItemView* view) { return view->model()->rowCount(); }

inline QString RowText(const QAbstractItemView* view, int row) {
  return view->model()->index(row, 0).data().toString();
}

inline QStringList RowTexts(const QAbstractItemView* view) {
  QStringList texts;
  for (int i = 0; i < RowCount(view); ++i) texts.append(RowText(view, i));
  return texts;
}

// The current row when it is selected, else -1.
inline int CurrentRow(const QAbstractItemView* view) {
  const QModelIndex current = view->currentIndex();
  return current.isValid() && view->selectionModel()->isSelected(current) ? current.row() : -1;
}

// Makes `row` current and selected, as a click would; -1 clears both.
inline void SetCurrentRow(QAbstractItemView* view, int row) {
  if (row < 0) {
    view->selectionModel()->clear();
    return;
  }
  view->selectionModel()->setCurrentIndex(view->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

inline void ClickViewRow(QAbstractItemView* view, int row, Qt::MouseButton button = Qt::LeftButton) {
  const QRect rect = view->visualRect(view->model()->index(row, 0));
  QTest::mouseClick(view->viewport(), button, {}, rect.center());
}
