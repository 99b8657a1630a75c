// "Select Printer": lists the installed printers and prints the graph on the
// chosen one. The main window opens it modally and hands it the graph
// surface's current picture; the window stays open after printing.
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <functional>

class QComboBox;
class QPainter;
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
  // Prints by drawing the graph at the printer's resolution, at the physical
  // size `screenPixels` has on the screen.
  frmPrint(QWidget* owner, Host& host, const QSize& screenPixels,
           std::function<void(QPainter&, const QSize&, double)> drawing);

  void Form_Load();
  void btnPrint_Click();
  void btnCancel_Click();

 private:
  Host& host_;
  QImage graph_;
  QSize screenPixels_;
  std::function<void(QPainter&, const QSize&, double)> drawing_;
  QComboBox* cmbPrinters = nullptr;
  QPushButton* btnPrint = nullptr;
  QPushButton* btnCancel = nullptr;
};

}  // namespace cn
