// The intersection dialog: pick two equations of the list and a precision,
// and the search reports where they meet inside the graph window's x range.
#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>

#include "core/progress.h"

class QListWidget;
class QPushButton;
class QRadioButton;

namespace cn {

class Host;
class StyledProgressBar;

class frmIntSelect : public QDialog {
  Q_OBJECT

 public:
  // `equations`: the main window's list at this moment; later changes of the
  // list do not reach the dialog. It deletes itself when closed.
  frmIntSelect(Host& host, const QStringList& equations, std::int16_t xmin, std::int16_t xmax,
               QWidget* parent = nullptr);

  void cmdOK_Click();
  void cmdCancel_Click();
  Progress& ProgressBar();

 private:
  void Form_Load(const QStringList& equations);
  static QString Selected(const QListWidget* list);

  Host& host_;
  std::int16_t xmin_, xmax_;
  QListWidget* lstEqu1 = nullptr;
  QListWidget* lstEqu2 = nullptr;
  QRadioButton* optMLow = nullptr;
  QRadioButton* optLow = nullptr;
  QRadioButton* optMed = nullptr;
  QRadioButton* optHigh = nullptr;
  StyledProgressBar* prog = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace cn
