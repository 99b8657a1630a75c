// A read-only list of texts for a QListView, read from whatever owns the rows
// (the workspace session) through two functions, so the view never holds a
// copy that could drift. The owner calls Refresh after each change; the
// view keeps its current row when that row still exists.
#pragma once

#include <QAbstractListModel>
#include <QString>
#include <functional>
#include <utility>

namespace cn {

class TextListModel : public QAbstractListModel {
 public:
  using Count = std::function<int()>;
  using Text = std::function<QString(int row)>;

  TextListModel(Count count, Text text, QObject* parent = nullptr)
      : QAbstractListModel(parent), count_(std::move(count)), text_(std::move(text)) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : count_(); }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= count_()) return {};
    if (role == Qt::DisplayRole) return text_(index.row());
    return {};
  }
  // The rows changed in any way.
  void Refresh() {
    beginResetModel();
    endResetModel();
  }

 private:
  Count count_;
  Text text_;
};

}  // namespace cn
