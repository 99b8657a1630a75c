// "Select Printer": lists the installed printers and prints the graph on the
// chosen one. The main window opens it modally and hands it the graph
// surface's current picture; the window stays open after printing.
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>

class QComboBox;
class QPushButton;

namespace cn {

class Host;

// The printers offered for choice, in the system's order: all but one named
// exactly "Fax" (a fax device cannot print the graph).
QStringList ListedPrinters(const QStringList& installed);

class frmPrint : public QDialog {
  Q_OBJECT

 public:
  frmPrint(QWidget* owner, Host& host, const QImage& graph);

  void Form_Load();
  void btnPrint_Click();
  void btnCancel_Click();

 private:
  Host& host_;
  QImage graph_;
  QComboBox* cmbPrinters = nullptr;
  QPushButton* btnPrint = nullptr;
  QPushButton* btnCancel = nullptr;
};

}  // namespace cn
